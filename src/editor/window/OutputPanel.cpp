#include "editor/window/OutputPanel.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>

namespace flow {

namespace {
constexpr QRgb kLineHighlight = 0xFF303850;
} // namespace

OutputPanel::OutputPanel(NodeChooser choose, QWidget* parent)
    : QPlainTextEdit(parent), choose_(std::move(choose)) {
    setReadOnly(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor(0, 0, 0));
    colours.setColor(QPalette::Text, QColor(192, 192, 192));
    setPalette(colours);
    setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 12));
    // The range changes after the lines are laid out, and again when the panel opens: the end
    // is followed then, not when the lines are appended.
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { followEnd_ = value >= bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (followEnd_) bar->setValue(maximum);
    });
}

void OutputPanel::AppendLines(const QStringList& lines, const std::vector<Int>& nodeIds) {
    if (lines.isEmpty()) return;
    // A panel emptied by other means than ClearLines starts its lines again too.
    if (document()->isEmpty()) nodeOfBlock_.clear();
    // One append for the whole block: appended one by one, ten thousand lines would cost
    // seconds of layout. A line with line breaks of its own takes several blocks.
    appendPlainText(lines.join(QLatin1Char('\n')));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Int id = std::size_t(i) < nodeIds.size() ? nodeIds[std::size_t(i)] : 0;
        nodeOfBlock_.insert(nodeOfBlock_.end(), std::size_t(lines[i].count('\n')) + 1, id);
    }
    if (highlighted_ != 0) HighlightLinesOf(std::exchange(highlighted_, 0));
}

void OutputPanel::ClearLines() {
    clear();
    nodeOfBlock_.clear();
    highlighted_ = 0;
    followEnd_ = true;
    setExtraSelections({});
}

Int OutputPanel::NodeOfLine(int block) const {
    return block >= 0 && std::size_t(block) < nodeOfBlock_.size() ? nodeOfBlock_[std::size_t(block)]
                                                                  : 0;
}

void OutputPanel::HighlightLinesOf(Int nodeId) {
    if (nodeId == highlighted_) return;
    highlighted_ = nodeId;
    QList<QTextEdit::ExtraSelection> marks;
    if (nodeId != 0) {
        QTextCharFormat look;
        look.setBackground(QColor::fromRgba(kLineHighlight));
        look.setProperty(QTextFormat::FullWidthSelection, true);
        for (std::size_t block = 0; block < nodeOfBlock_.size(); ++block) {
            if (nodeOfBlock_[block] != nodeId) continue;
            QTextCursor cursor(document()->findBlockByNumber(int(block)));
            marks.append({cursor, look});
        }
    }
    setExtraSelections(marks);
}

void OutputPanel::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    // A drag that selected text is a selection, not a choice of a line.
    if (event->button() != Qt::LeftButton || textCursor().hasSelection()) return;
    const Int node = NodeOfLine(cursorForPosition(event->position().toPoint()).blockNumber());
    if (node != 0 && choose_) choose_(node);
}

} // namespace flow
