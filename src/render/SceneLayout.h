#pragma once
// Sizes that come from texts: a comment's box, a constant's box, a pin's name. They are laid out
// before a view is hit-tested or drawn, for what changed since (NeedsLayout) and for the text
// under edit, whose caret follows the mouse.

namespace flow {

struct CircuitView;

// Lays out the comments and nodes of the view's shown frame.
void LayOutShownFrame(CircuitView& view);

} // namespace flow
