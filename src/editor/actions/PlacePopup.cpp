#include "editor/actions/PlacePopup.h"

#include "editor/actions/AddNodeMenu.h"
#include "editor/actions/PlaceChoiceDelegate.h"
#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/GridSnap.h"
#include "editor/canvas/NodePlacement.h"
#include "editor/canvas/OpenViews.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/StatusText.h"
#include "model/Catalogue.h"
#include "model/Model.h"
#include "model/ObjectsById.h"
#include "model/SubCircuits.h"
#include "render/HoverText.h"
#include "render/NodeDrawing.h"
#include "render/NodeReference.h"
#include "render/Redraw.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>

namespace flow {

namespace {

constexpr int kWidestNameColumn = 200; // pixels

bool HasInput(const FunctionDef& function) {
    for (const auto& port : function.Ports)
        if (port->Direction & Direction::In) return true;
    return false;
}

// Whether a node of the choice, placed now, would have a port the wire fits: tried on a node
// made as placing makes it.
bool Fits(const PlaceChoice& choice, const Port* wireFrom) {
    Node probe;
    ShapeNode(probe, choice.Function, choice.Implementation);
    return FirstFittingPort(probe, wireFrom) != nullptr;
}

// Where the popup goes so that all of it is seen, near the pointer: wide enough for the
// descriptions, it would hang off the screen's edge at a pointer near it.
QPoint WithinScreen(QPoint position, QSize size) {
    const QScreen* screen = QGuiApplication::screenAt(position);
    if (!screen) return position;
    const QRect room = screen->availableGeometry();
    return {std::clamp(position.x(), room.left(),
                       std::max(room.left(), room.right() + 1 - size.width())),
            std::clamp(position.y(), room.top(),
                       std::max(room.top(), room.bottom() + 1 - size.height()))};
}

QPointer<PlacePopup>& Opened() {
    static QPointer<PlacePopup> popup;
    return popup;
}

bool StillOpen(const Circuit& circuit) {
    for (const auto& open : Circuits())
        if (open.get() == &circuit) return WindowOf(circuit) != nullptr;
    return false;
}

void LetGoOfWire(const Circuit& circuit) {
    CircuitView* view = ViewOf(circuit);
    if (Port* source = view ? std::exchange(view->WireSource, nullptr) : nullptr)
        source->Flags &= ~ObjectFlag::Selected;
}

} // namespace

std::vector<PlaceChoice> PlaceChoices(const Port* wireFrom, const Frame* frame) {
    std::vector<PlaceChoice> choices;
    const auto offer = [&choices](const QString& label, FunctionDef* function,
                                  flow::Implementation* implementation = nullptr) {
        choices.push_back({label, function, implementation, FunctionDescription(*function)});
    };
    for (FunctionDef* function : Catalogue().InOrder) {
        if (function->Implementations.empty()) continue;
        // A body takes its values through its pins.
        if (function == Catalogue().Input && frame && DefinitionOf(*frame)) continue;
        if (!HasInput(*function) && function->Implementations.size() > 1) {
            for (const auto& implementation : function->Implementations) {
                const int type = implementation->Types.size() > 1 ? implementation->Types[1] : 0;
                offer(function->Name + PortTypeSuffix(type), function, implementation.get());
            }
        } else {
            offer(function->Name, function);
        }
    }
    if (frame && DefinitionOf(*frame))
        for (FunctionDef* pin : {PinFunctions().Input, PinFunctions().Output,
                                 PinFunctions().Iteration, PinFunctions().Continue})
            offer(pin->Name, pin);
    // Not the sub-circuits the shown body would come to contain itself through.
    if (frame && frame->Owner)
        for (const auto& definition : frame->Owner->SubCircuits)
            if (!WouldRecurse(DefinitionOf(*frame), definition.get()))
                offer(definition->Name, definition.get());
    if (wireFrom)
        std::erase_if(choices, [wireFrom](const PlaceChoice& c) { return !Fits(c, wireFrom); });
    return choices;
}

std::vector<PlaceChoice> MatchingChoices(const std::vector<PlaceChoice>& choices,
                                         const QString& text) {
    std::vector<PlaceChoice> prefixed, inside;
    for (const PlaceChoice& choice : choices) {
        if (choice.Label.startsWith(text, Qt::CaseInsensitive))
            prefixed.push_back(choice);
        else if (choice.Label.contains(text, Qt::CaseInsensitive))
            inside.push_back(choice);
    }
    prefixed.insert(prefixed.end(), inside.begin(), inside.end());
    return prefixed;
}

PlacePopup::PlacePopup(Circuit& circuit, Int x, Int y, const Port* wireFrom)
    : QFrame(nullptr, Qt::Popup), circuit_(circuit), x_(x), y_(y),
      wireNode_(wireFrom && wireFrom->Node ? wireFrom->Node->Id : 0), wirePort_(0),
      choices_(PlaceChoices(wireFrom, &ShownFrame(circuit))), search_(new QLineEdit),
      list_(new QListWidget) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    if (wireNode_ != 0)
        for (std::size_t i = 1; i < wireFrom->Node->PortArray.size(); ++i)
            if (wireFrom->Node->PortArray[i] == wireFrom) wirePort_ = int(i);
    search_->setPlaceholderText(wireNode_ ? QStringLiteral("Function to wire to")
                                          : QStringLiteral("Function to place"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(search_);
    layout->addWidget(list_);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* delegate = new PlaceChoiceDelegate(list_);
    int nameWidth = 0;
    for (const PlaceChoice& choice : choices_)
        nameWidth = std::max(nameWidth, list_->fontMetrics().horizontalAdvance(choice.Label));
    // The style's margins around a row's text; a sub-circuit's long name leaves the descriptions
    // room all the same.
    const int margins = 2 * list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    delegate->SetNameWidth(std::min(nameWidth, kWidestNameColumn) + margins);
    list_->setItemDelegate(delegate);
    search_->installEventFilter(this);
    connect(search_, &QLineEdit::textChanged, this, [this] { ShowMatches(); });
    connect(list_, &QListWidget::itemClicked, this, [this] { PlaceCurrent(); });
    ShowMatches();
    resize(520, 300);
}

void PlacePopup::ShowMatches() {
    shown_ = MatchingChoices(choices_, search_->text());
    list_->clear();
    for (const PlaceChoice& choice : shown_) {
        auto* item = new QListWidgetItem(choice.Label, list_);
        item->setData(kDescriptionRole, choice.Description);
        item->setToolTip(choice.Description);
    }
    list_->setCurrentRow(shown_.empty() ? -1 : 0);
}

bool PlacePopup::eventFilter(QObject* watched, QEvent* event) {
    if (watched != search_ || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int rows = list_->count();
    switch (key->key()) {
    case Qt::Key_Up:
        if (rows > 0) list_->setCurrentRow((list_->currentRow() + rows - 1) % rows);
        return true;
    case Qt::Key_Down:
        if (rows > 0) list_->setCurrentRow((list_->currentRow() + 1) % rows);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        PlaceCurrent();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

Port* PlacePopup::WireSourceNow() const {
    if (wireNode_ == 0) return nullptr;
    Node* node = ObjectsById(ShownFrame(circuit_).Nodes).value(wireNode_);
    if (!node || wirePort_ <= 0 || std::size_t(wirePort_) >= node->PortArray.size()) return nullptr;
    return node->PortArray[std::size_t(wirePort_)];
}

void PlacePopup::PlaceCurrent() {
    const int row = list_->currentRow();
    if (row < 0 || std::size_t(row) >= shown_.size() || !StillOpen(circuit_)) return;
    const PlaceChoice& choice = shown_[std::size_t(row)];
    if (const QString refusal = PlacementRefusal(circuit_, choice.Function); !refusal.isEmpty()) {
        ShowStatusNotice(circuit_, refusal);
        close();
        return;
    }
    CircuitView* view = ViewOf(circuit_);
    if (!view) return;
    Node preview;
    ShapeNode(preview, choice.Function, choice.Implementation);
    // Centred on the pointer, as the add-node menu's preview is when it is placed.
    LayoutConstant(preview, view);
    const UnitPair place = SnappedPlace(circuit_, x_ - preview.Width / 2, y_ - preview.Height / 2);
    PlacePreviewNode(circuit_, preview, place.X, place.Y, WireSourceNow());
    close();
}

void PlacePopup::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    // A wire that found no node to feed is let go, as a click on empty canvas always did.
    if (wireNode_ != 0) LetGoOfWire(circuit_);
    if (StillOpen(circuit_)) RedrawCircuit(circuit_);
}

PlacePopup* OpenPlacePopup(Circuit& circuit, QPoint screenPosition, const QString& typed,
                           const Port* wireFrom) {
    if (Opened()) Opened()->close();
    CircuitView* view = ViewOf(circuit);
    if (!view) return nullptr;
    // The popup's choice replaces a node waiting to be placed.
    view->Preview.Function = nullptr;
    auto* popup = new PlacePopup(circuit, view->MouseX, view->MouseY, wireFrom);
    Opened() = popup;
    popup->move(WithinScreen(screenPosition, popup->size()));
    popup->show();
    popup->SearchField()->setFocus();
    popup->SearchField()->setText(typed);
    return popup;
}

PlacePopup* OpenedPlacePopup() {
    return Opened();
}

} // namespace flow
