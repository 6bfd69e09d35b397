#include "mainwindow/WindowColors.h"

namespace WindowColors {
namespace {

// The red of differences and markers, and the bookmark's blue-green, before
// they are made readable on what they are drawn on.
const QColor kRed(255, 0, 0);
const QColor kBookmark(32, 160, 192);

}  // namespace

QColor GridText(const QPalette& palette)
{
    return Readable(palette.color(QPalette::Text), palette.color(QPalette::Base));
}

QColor HeaderText(const QPalette& palette)
{
    return Readable(palette.color(QPalette::ButtonText), palette.color(QPalette::Button));
}

QColor TextOnRow(const QColor& row)
{
    return Readable(Qt::black, row);
}

QColor DifferingCharacters()
{
    return QColor(178, 178, 255);
}

QColor DetailCommon(const QPalette& palette)
{
    return GridText(palette);
}

QColor DetailDiffer(const QPalette& palette)
{
    return Readable(kRed, palette.color(QPalette::Base));
}

QColor SelectedText(const QPalette& palette)
{
    return Readable(palette.color(QPalette::HighlightedText), palette.color(QPalette::Highlight));
}

QColor MarkerArrow(const QColor& background)
{
    return Readable(kRed, background);
}

QColor BookmarkBlock(const QColor& row)
{
    // One block serves every row at least as light as the changed rows (the
    // least light of the row colours), so a bookmark looks the same on all
    // rows of a light palette.
    const QColor changed(221, 221, 255);
    return Readable(kBookmark, Luminance(row) >= Luminance(changed) ? changed : row);
}

QColor BarMark(const QPalette& palette)
{
    return Readable(kRed, palette.color(QPalette::Window));
}

QColor FocusMark(const QPalette& palette, const QColor& background)
{
    return Readable(palette.color(QPalette::Highlight), background, kMinGraphicContrast);
}

}  // namespace WindowColors
