#include "editor/window/CircuitCanvas.h"

#include "editor/canvas/CanvasRedraw.h"
#include "editor/canvas/OpenViews.h"
#include "editor/canvas/TextEditing.h"
#include "editor/window/CircuitWindow.h"
#include "editor/window/NodeToolTip.h"
#include "editor/window/RunMarks.h"
#include "editor/window/RunSteering.h"
#include "editor/window/WindowObserver.h"
#include "model/Model.h"
#include "model/SubCircuits.h"
#include "render/Palette.h"
#include "render/Redraw.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

namespace flow {

namespace {

int ButtonBits(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? MouseButton::Left : 0) |
           (buttons & Qt::RightButton ? MouseButton::Right : 0) |
           (buttons & Qt::MiddleButton ? MouseButton::Middle : 0);
}

int ModifierBits(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? KeyModifier::Shift : 0) |
           (modifiers & Qt::AltModifier ? KeyModifier::Alt : 0) |
           (modifiers & Qt::ControlModifier ? KeyModifier::Ctrl : 0);
}

int VirtualKeyOf(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VirtualKey::Enter;
    case Qt::Key_Backspace:
        return VirtualKey::Backspace;
    case Qt::Key_Delete:
        return VirtualKey::Delete;
    case Qt::Key_Left:
        return VirtualKey::Left;
    case Qt::Key_Right:
        return VirtualKey::Right;
    case Qt::Key_Escape:
        return VirtualKey::Escape;
    case Qt::Key_Tab:
        return VirtualKey::Tab;
    case Qt::Key_Home:
        return VirtualKey::Home;
    case Qt::Key_End:
        return VirtualKey::End;
    case Qt::Key_Up:
        return VirtualKey::Up;
    case Qt::Key_Down:
        return VirtualKey::Down;
    case Qt::Key_A:
        return VirtualKey::A;
    case Qt::Key_C:
        return VirtualKey::C;
    case Qt::Key_V:
        return VirtualKey::V;
    case Qt::Key_X:
        return VirtualKey::X;
    default:
        return VirtualKey::None;
    }
}

Qt::CursorShape QtCursor(int shape) {
    switch (shape) {
    case CursorShape::Cross:
        return Qt::CrossCursor;
    case CursorShape::IBeam:
        return Qt::IBeamCursor;
    case CursorShape::Hand:
        return Qt::PointingHandCursor;
    case CursorShape::Move:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

CircuitCanvas::CircuitCanvas(Circuit& circuit, QWidget* parent)
    : QWidget(parent), circuit_(circuit) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // paintEvent covers every pixel with the image.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// The image has the screen's pixels: the widget's logical size times its device pixel ratio,
// so that the copy to the screen is one to one and nothing is stretched.
QImage& CircuitCanvas::Surface() {
    const qreal ratio = devicePixelRatioF();
    QSize pixels(qRound(width() * ratio), qRound(height() * ratio));
    // Never more than the screens hold: what lies beyond them cannot be seen, and a window
    // stretched past them must not cost an image of any size.
    if (const QScreen* shown = screen())
        pixels = pixels.boundedTo(QSize(qRound(shown->virtualSize().width() * ratio),
                                        qRound(shown->virtualSize().height() * ratio)));
    if (image_.size() != pixels || image_.devicePixelRatio() != ratio) {
        image_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        image_.setDevicePixelRatio(ratio);
    }
    return image_;
}

void CircuitCanvas::Present() {
    update();
}

void CircuitCanvas::Present(const QRegion& area) {
    update(area);
}

bool CircuitCanvas::event(QEvent* event) {
    // While a text is edited, its keys (Ctrl+C, Delete, ...) are the text's, not the shortcuts'
    // of the menus: Qt then delivers them as key presses.
    const CircuitView* view = ViewOf(circuit_);
    if (event->type() == QEvent::ShortcutOverride && view && EditingText(*view)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (VirtualKeyOf(key->key()) != VirtualKey::None && !(key->modifiers() & Qt::AltModifier)) {
            event->accept();
            return true;
        }
    }
    if (event->type() == PrintEvent::EventType()) {
        ShowPrintedLines(circuit_,
                         ObserverOf(circuit_).TakeLines(*static_cast<PrintEvent*>(event)));
        return true;
    }
    if (event->type() == QEvent::ToolTip) {
        if (view) ShowNodeToolTip(*this, *view, *static_cast<QHelpEvent*>(event));
        return true;
    }
    if (event->type() == PausedEvent::EventType()) {
        OnRunPaused(circuit_, static_cast<PausedEvent*>(event)->RunNumber);
        return true;
    }
    if (event->type() == SettleEvent::EventType()) {
        OnRunMaySettle(circuit_, static_cast<SettleEvent*>(event)->RunNumber);
        return true;
    }
    // On a screen of another pixel density the image is made again at the new ratio.
    if (event->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        || event->type() == QEvent::DevicePixelRatioChange
#endif
    )
        RedrawCircuit(circuit_);
    return QWidget::event(event);
}

// Tab stays on the canvas instead of moving the focus to the output panel.
bool CircuitCanvas::focusNextPrevChild(bool) {
    return false;
}

void CircuitCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (image_.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // Only what the event asks for is copied: a hover change repaints a few small areas.
    const qreal ratio = image_.devicePixelRatio();
    for (const QRect& area : event->region()) {
        const QRectF source(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio);
        painter.drawImage(QRectF(area), image_, source);
    }
    // Only a canvas larger than the screens has pixels outside the image.
    const QSize shown = image_.deviceIndependentSize().toSize();
    if (shown.width() < width())
        painter.fillRect(shown.width(), 0, width() - shown.width(), height(), Qt::black);
    if (shown.height() < height())
        painter.fillRect(0, shown.height(), width(), height() - shown.height(), Qt::black);
    DrawEmptyCanvasHint(painter);
}

// Drawn over the canvas's picture, never into it: exported pictures do not carry it.
void CircuitCanvas::DrawEmptyCanvasHint(QPainter& painter) const {
    const CircuitView* view = ViewOf(circuit_);
    if (!view) return;
    const Frame& frame = ShownFrame(*view);
    if (!frame.Nodes.empty() || !frame.Comments.empty() || view->Preview.Function) return;
    painter.setPen(QColor::fromRgba(ColorTable()[ColorSlot::MajorGrid]));
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    painter.drawText(rect(), Qt::AlignCenter, QString::fromUtf8(kEmptyCanvasHint));
}

void CircuitCanvas::resizeEvent(QResizeEvent*) {
    RedrawCircuit(circuit_);
}

CanvasInput CircuitCanvas::Sample(CanvasEvent type, const QPointF& position,
                                  Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    CanvasInput input;
    input.Type = type;
    input.PixelX = position.x();
    input.PixelY = position.y();
    input.Buttons = ButtonBits(buttons);
    input.Modifiers = ModifierBits(modifiers);
    input.GlobalPos = mapToGlobal(position).toPoint();
    return input;
}

void CircuitCanvas::MouseEvent(CanvasEvent type, QMouseEvent* event) {
    pointer_ = event->position();
    pointerInside_ = rect().contains(pointer_.toPoint());
    OnCanvasEvent(circuit_, Sample(type, pointer_, event->buttons(), event->modifiers()));
}

std::optional<QPointF> CircuitCanvas::PointerOnCanvas() const {
    if (!pointerInside_) return std::nullopt;
    return pointer_;
}

void CircuitCanvas::leaveEvent(QEvent*) {
    pointerInside_ = false;
}

void CircuitCanvas::enterEvent(QEnterEvent* event) {
    pointer_ = event->position();
    pointerInside_ = true;
    OnCanvasEvent(circuit_, Sample(CanvasEvent::MouseMove, pointer_,
                                   QGuiApplication::mouseButtons(), event->modifiers()));
}

void CircuitCanvas::mousePressEvent(QMouseEvent* event) {
    switch (event->button()) {
    case Qt::LeftButton:
        MouseEvent(CanvasEvent::LeftDown, event);
        break;
    case Qt::MiddleButton:
        MouseEvent(CanvasEvent::MiddleDown, event);
        break;
    case Qt::RightButton:
        rightPressed_ = true;
        pointer_ = event->position();
        break;
    default:
        break;
    }
}

// Qt replaces the second press of a double click by this event; the editor sees the press too.
void CircuitCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    MouseEvent(CanvasEvent::LeftDown, event);
    MouseEvent(CanvasEvent::LeftDoubleClick, event);
}

void CircuitCanvas::mouseReleaseEvent(QMouseEvent* event) {
    switch (event->button()) {
    case Qt::LeftButton:
        MouseEvent(CanvasEvent::LeftUp, event);
        break;
    case Qt::MiddleButton:
        MouseEvent(CanvasEvent::MiddleUp, event);
        break;
    case Qt::RightButton:
        if (rightPressed_ && rect().contains(event->position().toPoint())) {
            pointer_ = event->position();
            CanvasInput input =
                Sample(CanvasEvent::RightClick, pointer_, event->buttons(), event->modifiers());
            input.GlobalPos = event->globalPosition().toPoint();
            OnCanvasEvent(circuit_, input);
        }
        rightPressed_ = false;
        break;
    default:
        break;
    }
}

void CircuitCanvas::mouseMoveEvent(QMouseEvent* event) {
    MouseEvent(CanvasEvent::MouseMove, event);
}

void CircuitCanvas::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    pointer_ = event->position();
    if (notches == 0) return;
    CanvasInput input =
        Sample(CanvasEvent::MouseWheel, pointer_, event->buttons(), event->modifiers());
    input.Notches = notches;
    OnCanvasEvent(circuit_, input);
}

void CircuitCanvas::keyPressEvent(QKeyEvent* event) {
    CanvasInput key =
        Sample(CanvasEvent::KeyDown, pointer_, QGuiApplication::mouseButtons(), event->modifiers());
    key.Key = VirtualKeyOf(event->key());
    OnCanvasEvent(circuit_, key);
    // Typed characters follow their key, as separate events; control characters (below 32,
    // and DEL) are keys only, and so is a key held with Ctrl (Ctrl+A selects, it types nothing).
    const auto ctrlOnly = event->modifiers() & ~Qt::ShiftModifier & ~Qt::KeypadModifier;
    const QString text = ctrlOnly == Qt::ControlModifier ? QString() : event->text();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        i += length;
        const char32_t code = character.toUcs4().value(0);
        if (code < 32 || code == 127) continue;
        CanvasInput typed = Sample(CanvasEvent::CharacterInput, pointer_,
                                   QGuiApplication::mouseButtons(), event->modifiers());
        typed.Character = character;
        OnCanvasEvent(circuit_, typed);
    }
}

void SetCanvasCursor(Circuit& circuit, int shape) {
    if (CircuitWindow* window = WindowOf(circuit)) window->Canvas()->setCursor(QtCursor(shape));
}

} // namespace flow
