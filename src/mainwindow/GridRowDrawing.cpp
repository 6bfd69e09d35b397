#include "mainwindow/GridRowDrawing.h"

#include "compare/RowText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <limits>

namespace GridRowDrawing {

std::vector<Span> DifferingSpans(const std::vector<bool>& marks, qsizetype offset, qsizetype length)
{
    std::vector<Span> spans;
    const auto end = std::min<qsizetype>(length - offset, static_cast<qsizetype>(marks.size()));
    for (qsizetype k = 0; k < end; ++k) {
        if (marks[static_cast<std::size_t>(k)])
            continue;
        if (!spans.empty() && spans.back().end == offset + k)
            ++spans.back().end;
        else
            spans.push_back({offset + k, offset + k + 1});
    }
    return spans;
}

// Laid out directly, as drawText would take a U+009C for the start of
// another version of the text and drop what follows it.
void DrawOneLine(QPainter& painter, const QRect& rect, const QString& text, Qt::LayoutDirection direction,
                 const std::vector<Span>& tinted, const QColor& tint)
{
    // A line or paragraph separator would start a second line over the first.
    QTextLayout layout(RowText::WithVisibleSeparators(text), painter.font(), painter.device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    // The number stays at the left, whatever script the line starts with.
    option.setTextDirection(direction);
    layout.setTextOption(option);
    QList<QTextLayout::FormatRange> formats;
    for (const Span& span : tinted) {
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(span.start);
        range.length = static_cast<int>(span.end - span.start);
        range.format.setBackground(tint);
        formats.append(range);
    }
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(std::numeric_limits<int>::max() / 4);
    layout.endLayout();
    // Every row puts its baseline where the grid's font centres it, also
    // when a fallback font for another script makes the line taller.
    const QFontMetricsF metrics(painter.font());
    const qreal baseline = rect.top() + (rect.height() - metrics.height()) / 2 + metrics.ascent();
    if (line.isValid())
        layout.draw(&painter, QPointF(rect.left(), baseline - line.ascent()));
}

}  // namespace GridRowDrawing
