#include "folderview/FolderRowDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

void FolderRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    const QVariant background = index.data(Qt::BackgroundRole);
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    else if (background.isValid())
        painter->fillRect(option.rect, background.value<QColor>());

    constexpr int kMargin = 3;
    QRect text = option.rect.adjusted(kMargin, 0, -kMargin, 0);
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.isValid()) {
        const QSize size = option.decorationSize;
        const QRect place(text.left(), text.top() + (text.height() - size.height()) / 2, size.width(), size.height());
        decoration.value<QIcon>().paint(painter, place, Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);
        text.setLeft(place.right() + 1 + kMargin);
    }

    const QString words = index.data(Qt::DisplayRole).toString();
    if (!words.isEmpty()) {
        const QVariant font = index.data(Qt::FontRole);
        const QFont shown = font.isValid() ? font.value<QFont>() : option.font;
        const QVariant foreground = index.data(Qt::ForegroundRole);
        QColor ink = option.palette.color(group, QPalette::Text);
        if (selected)
            ink = option.palette.color(group, QPalette::HighlightedText);
        else if (foreground.isValid())
            ink = foreground.value<QColor>();
        painter->setFont(shown);
        painter->setPen(ink);
        const QVariant alignment = index.data(Qt::TextAlignmentRole);
        const bool right = alignment.isValid() && (alignment.toInt() & Qt::AlignRight);
        const QFontMetrics metrics(shown);
        // Most texts fit; only those that do not are cut. Drawn at a point,
        // without the layout a rectangle's text takes.
        int width = metrics.horizontalAdvance(words);
        QString fitted = words;
        if (width > text.width()) {
            fitted = metrics.elidedText(words, Qt::ElideRight, text.width());
            width = metrics.horizontalAdvance(fitted);
        }
        const int x = right ? text.right() + 1 - width : text.left();
        const int baseline = text.top() + (text.height() - metrics.height()) / 2 + metrics.ascent();
        painter->drawText(QPoint(x, baseline), fitted);
    }

    // The keyboard's place: the current cell shows it, as everywhere.
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = option.rect;
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
        const QWidget* widget = option.widget;
        (widget ? widget->style() : QApplication::style())
            ->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}
