#include "editor/window/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdint>

namespace flow {

QRect FitStoredGeometry(int x, int y, int width, int height, const QRect& screen,
                        const QRect& desktop, const QSize& minimum) {
    const bool sizeFits = width <= screen.width() && height <= screen.height();
    if (sizeFits && desktop.contains(x, y)) return {x, y, width, height};
    const int fittedWidth = std::max(std::min(width, screen.width()), minimum.width());
    const int fittedHeight = std::max(std::min(height, screen.height()), minimum.height());
    // In 64 bits: the corner far right plus a width can pass the int range.
    const auto onto = [](int position, int size, int start, int length) {
        const std::int64_t last = std::int64_t(start) + length - size;
        return int(std::clamp<std::int64_t>(position, start, std::max<std::int64_t>(start, last)));
    };
    return {onto(x, fittedWidth, screen.x(), screen.width()),
            onto(y, fittedHeight, screen.y(), screen.height()), fittedWidth, fittedHeight};
}

QRect FitStoredGeometry(int x, int y, int width, int height, const QSize& minimum) {
    const QScreen* screen = QGuiApplication::screenAt(QPoint(x, y));
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {x, y, width, height};
    return FitStoredGeometry(x, y, width, height, screen->availableGeometry(),
                             screen->availableVirtualGeometry(), minimum);
}

} // namespace flow
