#pragma once
// The widget a circuit is drawn on. It turns Qt's input into canvas events for the editor and
// shows the image the redraw paints.

#include "editor/canvas/CanvasInteraction.h"
#include "render/CanvasSurface.h"

#include <QWidget>

#include <optional>

namespace flow {

// Shown on an empty canvas.
inline constexpr char kEmptyCanvasHint[] =
    "Right-click to add a node \u2014 double-click for a comment";

class CircuitCanvas : public QWidget, public CanvasSurface {
    Q_OBJECT
  public:
    explicit CircuitCanvas(Circuit& circuit, QWidget* parent = nullptr);
    QImage& Surface() override;
    void Present() override;
    void Present(const QRegion& area) override;
    // Where the pointer is on the canvas, in canvas pixels; none while it is elsewhere.
    std::optional<QPointF> PointerOnCanvas() const;

  protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    CanvasInput Sample(CanvasEvent type, const QPointF& position, Qt::MouseButtons buttons,
                       Qt::KeyboardModifiers modifiers);
    void MouseEvent(CanvasEvent type, QMouseEvent* event);
    void DrawEmptyCanvasHint(QPainter& painter) const;

    Circuit& circuit_;
    QImage image_;
    QPointF pointer_; // last pointer position seen; key events carry it
    bool pointerInside_ = false;
    int wheelRemainder_ = 0; // wheel delta short of a whole notch, carried to the next turn
    bool rightPressed_ = false;
};

// Sets the canvas cursor of the circuit's window (CursorShape codes).
void SetCanvasCursor(Circuit& circuit, int shape);

} // namespace flow
