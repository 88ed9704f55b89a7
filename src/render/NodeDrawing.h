#pragma once
// Nodes, in circuit units (the camera transform is already applied to the painter).

#include "model/Records.h"

#include <QFont>

class QPainter;

namespace flow {

struct CircuitView;
struct EditorState;

// The font of the values in constant nodes.
QFont ConstantFont();

// The value a constant or input node holds, as its box shows it.
QString ValueText(const Node& node);
// What a constant or input node shows, from its value (not from its last layout): an input's
// name comes first, as in "celsius: 100.".
QString ConstantText(const Node& node);
// Where an input's value begins, in circuit units: left of it lies its name.
double InputValueLeft(const Node& node);
// Constant and input nodes: display text, size and port position from the value (when NeedsLayout
// is set, or from the edit buffer while edited, placing the caret first).
void LayoutConstant(Node& node, EditorState* editing = nullptr);
void DrawNode(QPainter& painter, const Node& node, const CircuitView& view);
// The outline of a node that never fired in the latest run: around the body, clear of the
// selection and hover highlights, so both can show at once.
void DrawNeverFiredMark(QPainter& painter, const Node& node);
// A node skipped in the latest run, as an input carried nothing, shows faded.
void DrawSkippedMark(QPainter& painter, const Node& node);

} // namespace flow
