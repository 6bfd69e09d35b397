// Painting of the result grid's rows: the cell's colour, its picture, and
// the visible part of its text with the characters that differ from the
// counterpart line on a tint.

#include "mainwindow/VGrid.h"

#include "mainwindow/GridRowDrawing.h"
#include "mainwindow/WindowColors.h"

#include <QContextMenuEvent>
#include <QPainter>
#include <QScrollBar>

void VGrid::PaintRow(QPainter& painter, int row, int y) const
{
    if (const RowFolding::Fold* fold = FoldOf(row)) {
        PaintFoldRow(painter, *fold, y);
        return;
    }
    const int x = -horizontalScrollBar()->value();
    const QRect cell(x, y, m_colWidth, m_rowHeight);
    // Whatever a row holds (a marker picture taller than the row, marks
    // stacked high, a fallback font's taller glyphs), nothing of it reaches
    // into another row.
    painter.setClipRect(cell.intersected(viewport()->rect()));
    const std::uint32_t color = CellBackColor(row);
    if (row == 0)
        painter.fillRect(cell, palette().color(QPalette::Button));
    else if (color != Grid::kNoCellColor)
        painter.fillRect(cell, ToQColor(color));
    const QPixmap picture = CellPicture(row);
    if (!picture.isNull()) {
        const QSize size = picture.deviceIndependentSize().toSize();
        painter.drawPixmap(x + kPictureIndent, y + (m_rowHeight - size.height()) / 2, picture);
    }
    // Only the columns that fit are formed and shaped: a megabyte line
    // costs what a short one does.
    const QString text = row == 0 ? HeaderShown() : TextMatrixPart(row, VisibleColumns()).text;
    if (!text.isEmpty()) {
        // The row colours are light in every palette: their text is dark.
        painter.setPen(row == 0                      ? WindowColors::HeaderText(palette())
                       : color == Grid::kNoCellColor ? WindowColors::GridText(palette())
                                                     : WindowColors::TextOnRow(ToQColor(color)));
        GridRowDrawing::DrawOneLine(painter, cell.adjusted(m_textIndent, 0, 0, 0), text, layoutDirection(),
                                    DifferingSpans(row, text), WindowColors::DifferingCharacters());
    }
    if (m_gridLines || row == 0) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
        painter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
    }
    if (row == m_row && row > 0)
        PaintFocus(painter, cell, color == Grid::kNoCellColor ? palette().color(QPalette::Base) : ToQColor(color));
}

void VGrid::PaintFocus(QPainter& painter, const QRect& cell, const QColor& background) const
{
    if (!hasFocus())
        return;
    // Two pixels inside the cell, so the grid lines and the next row leave
    // it whole.
    const QRect shown = cell.intersected(viewport()->rect());
    painter.setPen(QPen(WindowColors::FocusMark(palette(), background), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(shown).adjusted(1, 1, -1, -1));
}

void VGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    Refresh();
}

void VGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    Refresh();
}

void VGrid::contextMenuEvent(QContextMenuEvent* event)
{
    // A right click has shown the menu already (MouseDown).
    if (event->reason() == QContextMenuEvent::Keyboard)
        emit MenuKeyPressed();
    event->accept();
}

void VGrid::PaintFoldRow(QPainter& painter, const RowFolding::Fold& fold, int y) const
{
    // Across the whole viewport, however far the column is scrolled, on the
    // window's own colour: a fold is no difference.
    const QRect cell(0, y, viewport()->width(), m_rowHeight);
    painter.setClipRect(cell);
    painter.fillRect(cell, palette().color(QPalette::Window));
    const QPixmap picture = CellPicture(fold.firstRow);
    if (!picture.isNull()) {
        const QSize size = picture.deviceIndependentSize().toSize();
        painter.drawPixmap(kPictureIndent, y + (m_rowHeight - size.height()) / 2, picture);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(cell, Qt::AlignCenter, RowFolding::FoldText(fold.rowCount));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(cell.left(), cell.top(), cell.right(), cell.top());
    painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
    if (fold.firstRow <= m_row && m_row < fold.EndRow())
        PaintFocus(painter, cell, palette().color(QPalette::Window));
}

std::vector<GridRowDrawing::Span> VGrid::DifferingSpans(int row, const QString& text) const
{
    // Marks belong to the line a row shows through its source; a cell's
    // own text has none. The line follows the number's period.
    if (row < 1 || !m_markSource || m_texts.contains(row)
        || m_rows->line[static_cast<std::size_t>(row - 1)] == Alignment::kNoLine)
        return {};
    const std::vector<bool>* marks = m_markSource(row);
    const qsizetype period = text.indexOf(QLatin1Char('.'));
    if (!marks || period < 0)
        return {};
    return GridRowDrawing::DifferingSpans(*marks, period + 1, text.size());
}

void VGrid::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const int height = viewport()->height();
    int y = m_rowHeight;
    for (int shown = TopShown(); shown < ShownRows() && y < height; ++shown, y += m_rowHeight)
        PaintRow(painter, RowOfShown(shown), y);
    PaintRow(painter, 0, 0);
}
