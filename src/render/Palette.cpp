#include "render/Palette.h"

namespace flow {

namespace {
std::array<QRgb, 18>& Colors() {
    static std::array<QRgb, 18> colors{};
    return colors;
}
QFont& Regular() {
    static QFont font;
    return font;
}
QFont& Bold() {
    static QFont font;
    return font;
}
} // namespace

void SetupPalette() {
    Colors() = {0xFF202020, 0xFF404040, 0xFF303030, 0,          0,          0xFF000000,
                0xFF101010, 0xFF606060, 0x20000000, 0x30000000, 0xFFE0E0E0, 0xFF000000,
                0,          0x80101010, 0xFF404040, 0xFFC0C0C0, 0xFFFFFFFF, 0};
    Regular() = QFont(QStringLiteral("DejaVu Sans"));
    Regular().setPixelSize(32);
    Regular().setWeight(QFont::Normal);
    Bold() = Regular();
    Bold().setWeight(QFont::Bold);
}

const std::array<QRgb, 18>& ColorTable() {
    return Colors();
}
const QFont& RegularFont() {
    return Regular();
}
const QFont& BoldFont() {
    return Bold();
}

QFont FontAt(const QFont& font, double size) {
    QFont sized = font;
    sized.setPixelSize(qMax(1, qRound(size)));
    return sized;
}

} // namespace flow
