#pragma once
// Drawing the text of one grid row: on one line, from the cell's left, with
// the characters that differ from the counterpart line on a tint.

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

namespace GridRowDrawing {

// Positions [start, end) of a row's drawn text.
struct Span {
    qsizetype start = 0;
    qsizetype end = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

// The stretches of a row's drawn text whose characters differ. marks[k]
// tells whether character k of the line is common to both lines (true) or
// differs; the line starts at `offset` in the drawn text, which is
// `length` long (often only the line's first part). Characters without a
// mark are not marked.
[[nodiscard]] std::vector<Span> DifferingSpans(const std::vector<bool>& marks, qsizetype offset, qsizetype length);

// Draws the text on one line from the rectangle's left, centred vertically
// by the painter's font, in the painter's pen, each span on `tint`. Line and
// paragraph separators are drawn as the symbols that stand for them.
void DrawOneLine(QPainter& painter, const QRect& rect, const QString& text, Qt::LayoutDirection direction,
                 const std::vector<Span>& tinted = {}, const QColor& tint = QColor());

}  // namespace GridRowDrawing
