#include "render/Palette.h"

#include "engine/RunCopies.h"

#include <cmath>

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

QRgb BlendColor(QRgb a, QRgb b, float t) {
    auto mix = [t](int from, int to) {
        return static_cast<int>(std::lround((1.0f - t) * from + t * to));
    };
    return qRgba(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)),
                 mix(qAlpha(a), qAlpha(b)));
}

QRgb PortTypeColor(int type) {
    switch (type) {
    case PortType::Generic:
        return 0xFFA0A0A0;
    case PortType::Boolean:
        return 0xFF40C000;
    case PortType::Integer:
        return 0xFF4080FF;
    case PortType::Real:
        return 0xFFFFC000;
    case PortType::String:
        return 0xFFE000A0;
    default:
        return 0x00000000;
    }
}

QRgb PortTypeColor(const Port& port, const std::vector<Node*>& openPath) {
    return PortTypeColor(ShownType(port, openPath));
}

} // namespace flow
