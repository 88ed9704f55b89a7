#pragma once
// The output panel under a circuit's canvas: the printed lines of the latest run, each knowing
// the Print node that printed it. Clicking a line selects that node and centres the view on it;
// the lines of a hovered Print node are highlighted. It follows new lines as a terminal does
// while it is scrolled to the end, and stays where the user scrolled it otherwise.

#include "model/Records.h"

#include <QPlainTextEdit>

#include <functional>
#include <vector>

namespace flow {

class OutputPanel : public QPlainTextEdit {
    Q_OBJECT
  public:
    // What a click on a line of a Print node asks for: the node's ID.
    using NodeChooser = std::function<void(Int nodeId)>;
    explicit OutputPanel(NodeChooser choose, QWidget* parent = nullptr);

    // Appends one line per text, printed by the node of the same index in `nodeIds`.
    void AppendLines(const QStringList& lines, const std::vector<Int>& nodeIds);
    void ClearLines();
    // The Print node of the line at a block number; 0 for none.
    Int NodeOfLine(int block) const;
    // Highlights the lines of a node (0: none).
    void HighlightLinesOf(Int nodeId);
    Int HighlightedNode() const { return highlighted_; }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    NodeChooser choose_;
    std::vector<Int> nodeOfBlock_; // one entry per block of the document
    Int highlighted_ = 0;
    bool followEnd_ = true; // scrolled to the end, where new lines keep it
};

} // namespace flow
