#pragma once
// Comment boxes, in circuit units (the camera transform is already applied to the painter).

#include "model/Records.h"

#include <QFont>
#include <QPainterPath>

class QPainter;

namespace flow {

struct CircuitView;
struct EditorState;

// The font of the texts in comment boxes.
QFont CommentFont();

// Size from the text (when NeedsLayout is set, or from the edit buffer while edited, placing the
// caret first).
void LayoutComment(Comment& comment, EditorState* editing = nullptr);
void CommentBoxPath(QPainterPath& path, double x, double y, double width, double height);
void DrawComment(QPainter& painter, const Comment& comment, const CircuitView& view);

} // namespace flow
