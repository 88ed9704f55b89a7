#pragma once
// The find bar of Edit → Find, over the top right corner of the canvas. As the user types it
// goes to the first match (or stays on the one shown, while it still matches) and counts them
// ("3 of 12"); Enter and Shift+Enter go to the next and the previous one, round the ends;
// Escape closes it. The view's FindText marks the matches in sight while it is open.

#include "editor/canvas/FindMatches.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace flow {

class FindBar : public QWidget {
    Q_OBJECT
  public:
    FindBar(Circuit& circuit, QWidget* canvas);
    // Shows the bar with its text selected and the keyboard in it.
    void Open();
    void Close();
    // Goes to the next match (+1) or the previous one (-1).
    void Step(int direction);
    QLineEdit* Field() const { return field_; }
    QLabel* Count() const { return count_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The matches found again for the text, keeping the one shown when it still matches.
    void Search();
    void GoTo(int index);
    void ShowCount();
    void PlaceOverCanvas();

    // A match as it outlives the records: undo and redo make objects anew under their IDs.
    struct Key {
        QString Frame;
        bool IsComment = false;
        Int Id = 0;
        bool operator==(const Key&) const = default;
    };
    static Key KeyOf(const FoundObject& found);

    Circuit& circuit_;
    QLineEdit* field_;
    QLabel* count_;
    std::vector<FoundObject> found_;
    int current_ = -1; // none shown yet
    Key shown_;
    QString firstFrame_; // the frame searched first: the one shown when the text was typed
};

} // namespace flow
