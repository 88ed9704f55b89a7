#pragma once
// How the type-to-place popup draws a choice: its name, and beside it, dimmer, what the function
// does, cut short with "…" where the list is too narrow (the whole line is the item's tooltip).

#include <QStyledItemDelegate>

namespace flow {

// The item data role that holds a choice's description.
inline constexpr int kDescriptionRole = Qt::UserRole + 1;

class PlaceChoiceDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // Where the descriptions begin, in pixels from the item's left: past the widest name.
    void SetNameWidth(int width) { nameWidth_ = width; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    int nameWidth_ = 0;
};

} // namespace flow
