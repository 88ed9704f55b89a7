#pragma once
// Drawing and layout of the objects of a circuit, in circuit units (the camera transform is
// already applied to the painter).

#include "model/Records.h"

#include <QFont>
#include <QPainterPath>

class QPainter;

namespace flow {

// The fonts of the texts in comment boxes and in constant nodes.
QFont CommentFont();
QFont ConstantFont();

// Constant nodes: display text, size and port position from the value (when NeedsLayout is
// set, or from the edit buffer while edited, placing the caret first).
void LayoutConstant(Node& node);
void DrawNode(QPainter& painter, const Node& node);

// Comment boxes: size from the text (when NeedsLayout is set, or from the edit buffer while
// edited, placing the caret first).
void LayoutComment(Comment& comment);
void CommentBoxPath(QPainterPath& path, double x, double y, double width, double height);
void DrawComment(QPainter& painter, const Comment& comment);

// Wires: the curve between two ports, and its drawing (valid, invalid, dangling to the mouse).
QPainterPath WireCurve(const Wire& wire);
void DrawWire(QPainter& painter, const Wire& wire);
// The same along a curve already made (a connected wire).
void DrawWire(QPainter& painter, const Wire& wire, const QPainterPath& curve);

// Shapes and symbols: the path notation, and "$text,size,x,y" text symbols.
void AddPath(QPainterPath& path, const QString& notation);
void AddTextSymbol(QPainterPath& path, const QString& symbol);
void AddSymbol(QPainterPath& path, const QString& symbol);

} // namespace flow
