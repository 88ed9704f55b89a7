#include "editor/window/FindBar.h"

#include "editor/actions/FindCommands.h"
#include "editor/canvas/CanvasInteraction.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "model/SubCircuits.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QUndoStack>

namespace flow {

namespace {
constexpr int kMargin = 8; // from the canvas's edges
constexpr int kFieldWidth = 220;
} // namespace

FindBar::FindBar(Circuit& circuit, QWidget* canvas)
    : QWidget(canvas), circuit_(circuit), field_(new QLineEdit), count_(new QLabel) {
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    field_->setPlaceholderText(QStringLiteral("Find"));
    field_->setClearButtonEnabled(true);
    field_->setFixedWidth(kFieldWidth);
    layout->addWidget(field_);
    count_->setMinimumWidth(
        count_->fontMetrics().horizontalAdvance(QStringLiteral("0000 of 0000")));
    layout->addWidget(count_);
    field_->installEventFilter(this);
    canvas->installEventFilter(this);
    connect(field_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (CircuitView* view = ViewOf(circuit_)) {
            view->FindText = text;
            firstFrame_ = NameOfFrame(ShownFrame(*view));
        }
        Search();
        if (current_ < 0 && !found_.empty()) GoTo(0);
        RedrawCircuit(circuit_);
    });
    // Edits, undo and redo make and take objects: the matches are found again.
    if (CircuitView* view = ViewOf(circuit_); view && view->History)
        connect(view->History, &QUndoStack::indexChanged, this, [this] {
            if (isVisible()) Search();
        });
    hide();
}

void FindBar::Open() {
    if (CircuitView* view = ViewOf(circuit_)) view->FindText = field_->text();
    PlaceOverCanvas();
    show();
    raise();
    field_->setFocus();
    field_->selectAll();
    Search();
}

void FindBar::Close() {
    hide();
    if (CircuitView* view = ViewOf(circuit_)) view->FindText.clear();
    if (parentWidget()) parentWidget()->setFocus();
    RedrawCircuit(circuit_);
}

void FindBar::Step(int direction) {
    // A text being typed on the canvas becomes a step first; the matches follow it.
    CommitEditOf(circuit_);
    if (found_.empty()) return;
    const int count = int(found_.size());
    const int next = current_ < 0 ? (direction > 0 ? 0 : count - 1)
                                  : ((current_ + direction) % count + count) % count;
    GoTo(next);
    RedrawCircuit(circuit_);
}

FindBar::Key FindBar::KeyOf(const FoundObject& found) {
    if (found.Comment) return {NameOfFrame(*found.Frame), true, found.Comment->Id};
    return {NameOfFrame(*found.Frame), false, found.Node->Id};
}

void FindBar::Search() {
    const CircuitView* view = ViewOf(circuit_);
    found_ = view ? FindInCircuit(circuit_, FindText(field_->text()), firstFrame_, view->OpenPath)
                  : std::vector<FoundObject>();
    current_ = -1;
    for (std::size_t i = 0; i < found_.size(); ++i)
        if (KeyOf(found_[i]) == shown_) current_ = int(i);
    ShowCount();
}

void FindBar::GoTo(int index) {
    current_ = index;
    // Going may leave a level with a text being typed, which becomes a step and so searches
    // again: the match is kept aside first.
    const FoundObject found = found_[std::size_t(index)];
    shown_ = KeyOf(found);
    ShowFound(circuit_, found);
    ShowCount();
    field_->setFocus();
}

void FindBar::ShowCount() {
    if (field_->text().isEmpty())
        count_->clear();
    else if (found_.empty())
        count_->setText(QStringLiteral("No matches"));
    else
        count_->setText(QStringLiteral("%1 of %2").arg(current_ + 1).arg(found_.size()));
    adjustSize();
    PlaceOverCanvas();
}

void FindBar::PlaceOverCanvas() {
    if (!parentWidget()) return;
    adjustSize();
    move(parentWidget()->width() - width() - kMargin, kMargin);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) PlaceOverCanvas();
    if (watched != field_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Step(key->modifiers() & Qt::ShiftModifier ? -1 : 1);
        return true;
    case Qt::Key_Escape:
        Close();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace flow
