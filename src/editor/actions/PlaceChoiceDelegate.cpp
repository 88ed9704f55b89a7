#include "editor/actions/PlaceChoiceDelegate.h"

#include <QPainter>

namespace flow {

namespace {

constexpr int kGap = 12; // between the name and the description

} // namespace

void PlaceChoiceDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem nameOption = option;
    initStyleOption(&nameOption, index);
    const QString description = index.data(kDescriptionRole).toString();
    // The style draws the row (its selection too) and the name; the description goes over it.
    QStyledItemDelegate::paint(painter, option, index);
    if (description.isEmpty()) return;
    const QRect area = option.rect.adjusted(nameWidth_ + kGap, 0, -4, 0);
    if (area.width() <= 0) return;
    const bool selected = option.state & QStyle::State_Selected;
    QColor colour = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    colour.setAlphaF(selected ? 0.75f : 0.55f);
    QFont font = nameOption.font;
    font.setPointSizeF(font.pointSizeF() * 0.9);
    painter->save();
    painter->setFont(font);
    painter->setPen(colour);
    const QString shown = QFontMetrics(font).elidedText(description, Qt::ElideRight, area.width());
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
    painter->restore();
}

QSize PlaceChoiceDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(std::max(size.width(), nameWidth_));
    return size;
}

} // namespace flow
