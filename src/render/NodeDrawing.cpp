#include "render/NodeDrawing.h"

#include "model/Catalogue.h"
#include "model/Coordinates.h"
#include "model/Inputs.h"
#include "model/Model.h"
#include "render/Camera.h"
#include "render/CaretPlacement.h"
#include "render/CircuitView.h"
#include "render/Palette.h"
#include "render/PathCache.h"
#include "render/PinDrawing.h"
#include "render/SpriteCache.h"
#include "render/Strokes.h"
#include "render/TextLayout.h"
#include "render/ValueDisplay.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace flow {

namespace {

constexpr double kConstantTextSize = 11.0;
constexpr QRgb kNeverFiredColor = 0xFFFF5030;
constexpr int kConstantTextX = 4, kConstantTextY = 2; // from the box's left edge and top
constexpr int kConstantMarginX = 16, kConstantMarginY = 4;

QColor SlotColor(int slot) {
    return QColor::fromRgba(ColorTable()[std::size_t(slot)]);
}

bool IsEdited(const Node& node, const EditorState* editor) {
    if (!editor) return false;
    return editor->Has(InteractionFlag::Editing) && editor->EditNode == &node;
}

bool NameEdited(const Node& node, const EditorState* editor) {
    return IsEdited(node, editor) && editor->EditName;
}

// What a constant's box shows: an input's name, then its value as a block of its own, so that
// the lines of a String value stand under each other.
struct HeldText {
    QString Name; // an input's; none for a constant
    QString Value;
};

QString NamePrefix(const Node& node, const QString& name) {
    return IsInput(node) ? name + QStringLiteral(": ") : QString();
}

double ValueIndent(const QFont& font, const Node& node, const QString& name) {
    return IsInput(node) ? TextBlockWidth(font, NamePrefix(node, name)) : 0.0;
}

// The text as the box shows it while the node is edited: the edit buffer stands for the part
// under edit.
HeldText EditedText(const Node& node, const EditorState& editor) {
    if (editor.EditName) return {editor.EditBuffer, ValueText(node)};
    return {InputName(node), editor.EditBuffer};
}

HeldText ShownText(const Node& node) {
    return {IsInput(node) ? InputName(node) : QString(), ValueText(node)};
}

// The box grows leftwards from X, which stays the box's right edge.
void SizeConstant(Node& node, const QFont& font, const HeldText& text) {
    const double width = ValueIndent(font, node, text.Name) + TextBlockWidth(font, text.Value);
    node.Width = -(Int(std::ceil(width)) + kConstantMarginX);
    node.Height = Int(std::ceil(TextBlockHeight(font, text.Value))) + kConstantMarginY;
}

// The dark outline, then the selection or (dashed) hover highlight over it.
void StrokeOutline(QPainter& painter, const QPainterPath& path, int flags, Qt::PenJoinStyle join) {
    const auto& colors = ColorTable();
    painter.strokePath(path, SolidPen(colors[ColorSlot::NodeOutline], 2.0, join));
    if (flags & ObjectFlag::Selected)
        painter.strokePath(path, SolidPen(colors[ColorSlot::Selection], 2.0, join));
    else if (flags & ObjectFlag::Hovered)
        painter.strokePath(path, DashedPen(colors[ColorSlot::Hover], 2.0, 3.0, join));
}

// How far a body's drawing reaches beyond its outline: half the widest shadow stroke, and a
// unit for anti-aliasing.
constexpr double kBodyReach = 7.0;

void DrawConstantBox(QPainter& painter, const Node& node, int flags, QRgb shadow, QRgb tint) {
    QPainterPath box;
    box.setFillRule(Qt::OddEvenFill);
    box.addRect(QRectF(0.0, 0.0, double(node.Width), double(node.Height)));
    StrokeShadow(painter, box, shadow);
    StrokeOutline(painter, box, flags, Qt::MiterJoin);

    // A light top edge, a dark body and a bottom edge tinted with the value's type.
    const double height = double(node.Height);
    const double edge = 8.0 / (height + 5.0);
    QLinearGradient gradient(0.0, -1.0, 0.0, height + 4.0);
    gradient.setColorAt(0.0, SlotColor(ColorSlot::NodeLight));
    gradient.setColorAt(edge, SlotColor(ColorSlot::NodeDark));
    gradient.setColorAt(1.0 - edge, SlotColor(ColorSlot::NodeDark));
    gradient.setColorAt(1.0, QColor::fromRgba(tint));
    painter.fillPath(box, gradient);
}

// The caret and selection belong to the name while it is edited, else to the value.
void DrawConstantText(QPainter& painter, const Node& node, const HeldText& text, bool nameEdited,
                      int caret, int selection) {
    const QFont font = ConstantFont();
    painter.setFont(font);
    painter.setPen(SlotColor(ColorSlot::SymbolFill));
    const double x = double(node.Width + kConstantTextX);
    if (IsInput(node)) {
        DrawEditText(painter, x, kConstantTextY, text.Name, nameEdited ? caret : kNoCaret,
                     selection);
        DrawEditText(painter, x + TextBlockWidth(font, text.Name), kConstantTextY,
                     QStringLiteral(": "), kNoCaret, 0);
    }
    DrawEditText(painter, x + ValueIndent(font, node, text.Name), kConstantTextY, text.Value,
                 nameEdited ? kNoCaret : caret, selection);
}

// Node bodies and ports are drawn with the painter in device space, each through the transform
// given; see DrawNode.
void DrawConstantBody(QPainter& painter, const QTransform& local, const Node& node,
                      const EditorState& editor, int flags, QRgb shadow) {
    const Port* port = FirstPort(node);
    const QRgb tint = PortTypeColor(port ? port->Type : 0);
    const bool edited = IsEdited(node, &editor);
    const QRectF bounds = QRectF(double(node.Width), 0.0, -double(node.Width), double(node.Height))
                              .normalized()
                              .adjusted(-kBodyReach, -kBodyReach, kBodyReach, kBodyReach);
    SpriteKey key;
    key.Kind = SpriteKind::ConstantBox;
    key.Width = node.Width;
    key.Height = node.Height;
    key.Flags = flags;
    key.Shadow = shadow;
    key.Tint = tint;
    // The shown value goes into the cached image; text under edit changes with every key
    // stroke and caret move, so it is drawn over the box instead.
    if (!edited) key.Text = node.DisplayText;
    DrawThroughSprite(painter, local, key, bounds, [&](QPainter& p) {
        DrawConstantBox(p, node, flags, shadow, tint);
        if (!edited) DrawConstantText(p, node, ShownText(node), false, kNoCaret, 0);
    });
    if (edited) {
        // The only drawing of a node that sets the painter's font and pen.
        painter.save();
        painter.setTransform(local);
        DrawConstantText(painter, node, EditedText(node, editor), editor.EditName, editor.Caret,
                         editor.SelectionLength);
        painter.restore();
    }
}

void DrawFunctionShape(QPainter& painter, const Node& node, int flags, QRgb shadow) {
    const FunctionPaths& paths = PathsOf(*node.Function);
    const QPainterPath& body = paths.ShapePath;
    StrokeShadow(painter, body, shadow);
    StrokeOutline(painter, body, flags, Qt::RoundJoin);

    // From the top-right corner down and slightly to the left, so that the light falls on the
    // upper right of every shape, whatever its proportions.
    const double width = double(node.Width);
    const double height = double(node.Height);
    const double ratio = width != 0.0 ? height / width : 0.0;
    QLinearGradient gradient(width, 0.0, 0.75 * width,
                             height + 0.1875 * height / (ratio * ratio + 0.0625) + 1.0);
    const auto& colors = ColorTable();
    gradient.setColorAt(0.0, SlotColor(ColorSlot::NodeLight));
    gradient.setColorAt(0.4, QColor::fromRgba(BlendColor(colors[ColorSlot::NodeLight],
                                                         colors[ColorSlot::NodeDark], 0.7f)));
    gradient.setColorAt(1.0, SlotColor(ColorSlot::NodeDark));
    painter.fillPath(body, gradient);

    const QPainterPath& symbol = paths.SymbolPath;
    painter.strokePath(symbol, SolidPen(colors[ColorSlot::SymbolOutline], 2.0, Qt::RoundJoin));
    painter.fillPath(symbol, SlotColor(ColorSlot::SymbolFill));
}

void DrawFunctionBody(QPainter& painter, const QTransform& local, const Node& node, int flags,
                      QRgb shadow) {
    const FunctionPaths& paths = PathsOf(*node.Function);
    const QRectF bounds = paths.Bounds.adjusted(-kBodyReach, -kBodyReach, kBodyReach, kBodyReach);
    SpriteKey key;
    key.Kind = SpriteKind::FunctionBody;
    key.Paths = paths.Serial;
    key.Width = node.Width;
    key.Height = node.Height;
    key.Flags = flags;
    key.Shadow = shadow;
    DrawThroughSprite(painter, local, key, bounds,
                      [&](QPainter& p) { DrawFunctionShape(p, node, flags, shadow); });
}

// A disc around the port's centre, which is the local origin while a port is drawn.
QPainterPath Disc(double radius) {
    QPainterPath disc;
    disc.addEllipse(QPointF(0.0, 0.0), radius, radius);
    return disc;
}

// A port through the transform of its node, with the painter in device space.
void DrawPortAt(QPainter& painter, const QTransform& nodeLocal, const Port& port,
                const CircuitView& view) {
    const QRgb typeColor = PortTypeColor(port, view.OpenPath);
    const bool connected = port.Source || !port.Targets.empty() || &port == view.WireSource;
    const int flags =
        view.ShowsEditing ? port.Flags & (ObjectFlag::Hovered | ObjectFlag::Selected) : 0;
    SpriteKey key;
    key.Kind = SpriteKind::Port;
    key.Width = connected;
    key.Flags = flags;
    key.Tint = typeColor;
    QTransform local = nodeLocal;
    local.translate(double(port.X), double(port.Y));
    DrawThroughSprite(painter, local, key, QRectF(-7.0, -7.0, 14.0, 14.0), [&](QPainter& p) {
        if (connected) {
            p.fillPath(Disc(2.0), QColor::fromRgba(typeColor));
        } else {
            // A coloured ring around a black hole: the port still waits for a wire.
            p.fillPath(Disc(6.0), QColor::fromRgba(typeColor));
            p.fillPath(Disc(2.0), QColor::fromRgba(0xFF000000));
        }
        const auto& colors = ColorTable();
        if (flags & ObjectFlag::Selected)
            p.strokePath(Disc(5.5), SolidPen(colors[ColorSlot::Selection], 1.0));
        else if (flags & ObjectFlag::Hovered)
            p.strokePath(Disc(5.5), DashedPen(colors[ColorSlot::Hover], 1.0, 2.0));
    });
}

} // namespace

QString ValueText(const Node& node) {
    const Port* port = FirstPort(node);
    if (!port || !node.Implementation) return QStringLiteral("\u2205");
    return DisplayValue(HeldType(node), port->Value, port->Text);
}

QString ConstantText(const Node& node) {
    return NamePrefix(node, InputName(node)) + ValueText(node);
}

double InputValueLeft(const Node& node) {
    const QFont font = ConstantFont();
    return double(SaturatedSum(node.X, node.Width + kConstantTextX)) +
           ValueIndent(font, node, InputName(node));
}

QFont ConstantFont() {
    return FontAt(BoldFont(), kConstantTextSize);
}

void LayoutConstant(Node& node, EditorState* editing) {
    if (!HoldsValue(node)) return;
    const bool edited = IsEdited(node, editing);
    // Every redraw asks every constant; most have nothing to do.
    if (!edited && !(node.Flags & ObjectFlag::NeedsLayout)) return;
    const QFont font = ConstantFont();
    if (edited) {
        // The caret follows the box as it was last laid out, which is what the user sees.
        const double textLeft = double(SaturatedSum(node.X, node.Width + kConstantTextX));
        PlaceCaret(*editing, font, NameEdited(node, editing) ? textLeft : InputValueLeft(node),
                   double(SaturatedSum(node.Y, kConstantTextY)));
        SizeConstant(node, font, EditedText(node, *editing));
        return;
    }
    node.DisplayText = ConstantText(node);
    SizeConstant(node, font, ShownText(node));
    if (Port* port = FirstPort(node)) {
        port->X = -4;
        port->Y = node.Height / 2;
    }
}

void DrawNode(QPainter& painter, const Node& node, const CircuitView& view) {
    if (!node.Function) return;
    const EditorState& editor = view;
    // Only nodes of a frame take part in hovering and selection; the placement preview never
    // does, and casts the darker shadow.
    const bool inFrame = node.Frame != nullptr;
    const int flags = inFrame && view.ShowsEditing
                          ? node.Flags & (ObjectFlag::Hovered | ObjectFlag::Selected)
                          : 0;
    const QRgb shadow = ColorTable()[inFrame ? ColorSlot::Shadow : ColorSlot::PreviewShadow];

    // The painter stays in device space while the body and the ports are placed, each by its
    // own transform: one switch of the painter's transform there and one back.
    const QTransform placed = painter.transform();
    QTransform local = placed;
    local.translate(double(node.X), double(node.Y));
    if (const press::Dragging* drag = editor.Drag(); drag && (flags & ObjectFlag::Selected))
        local.translate(double(drag->DX), double(drag->DY));
    painter.setTransform(QTransform());
    if (HoldsValue(node))
        DrawConstantBody(painter, local, node, editor, flags, shadow);
    else
        DrawFunctionBody(painter, local, node, flags, shadow);
    DrawNodeLabels(painter, local, node, view);
    for (const auto& port : node.Ports)
        DrawPortAt(painter, local, *port, view);
    painter.setTransform(placed);
}

void DrawNeverFiredMark(QPainter& painter, const Node& node) {
    // A constant grows leftwards: its Width is negative.
    const QRectF body =
        QRectF(double(node.X), double(node.Y), double(node.Width), double(node.Height))
            .normalized();
    QPainterPath outline;
    outline.addRoundedRect(body.adjusted(-6, -6, 6, 6), 4, 4);
    painter.strokePath(outline, DashedPen(kNeverFiredColor, 2.0, 2.0));
}

void DrawSkippedMark(QPainter& painter, const Node& node) {
    // Faded into the background: the node fired without computing.
    const QRectF body =
        QRectF(double(node.X), double(node.Y), double(node.Width), double(node.Height))
            .normalized();
    QColor wash = QColor::fromRgba(ColorTable()[ColorSlot::Background]);
    wash.setAlpha(150);
    painter.fillRect(body.adjusted(-2, -2, 2, 2), wash);
}

} // namespace flow
