#pragma once
// Where a window opens whose geometry was stored in a file, on the screens there are now.

#include <QRect>

namespace flow {

// The stored geometry (outer top-left corner, inner size) fitted to the screens: kept when its
// size fits the available area of the screen it starts on and that corner lies on the
// available desktop; otherwise the size is cut to that screen's available area, no smaller
// than the minimum, and the window moved wholly onto it. Sums that would leave the int range
// never happen: a file may store any values.
QRect FitStoredGeometry(int x, int y, int width, int height, const QRect& screen,
                        const QRect& desktop, const QSize& minimum);

// The same on the screens of this session (the primary screen when none holds the corner).
QRect FitStoredGeometry(int x, int y, int width, int height, const QSize& minimum);

} // namespace flow
