#pragma once
// Filling one box of the detail pane: the text of a line, each character
// black or red, and differing blanks underlined so that they can be seen.
// The look is handed to the box as runs of equally formatted characters,
// found in one pass over the marks.

#include "compare/LineText.h"
#include "mainwindow/LineDiffView.h"

#include <QColor>
#include <QString>
#include <vector>

class QWidget;

namespace DetailPane {

// Colour of differing characters and of a line that has no counterpart.
[[nodiscard]] QColor DifferColor();
[[nodiscard]] QColor CommonColor();

// The line's own text in a row text such as " 12.abc": what follows the
// first period, or the whole text when it holds none. A filler row gives
// the empty text.
[[nodiscard]] QString LineTextOfRow(const QString& rowText);

// True for the characters that get the blank marker when they differ.
[[nodiscard]] inline bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Replaces the box's content with the text in one colour, marker off, caret
// at the start.
void ShowPlain(LineDiffView* box, const LineText& text, const QColor& color);

// The runs for a line: character k red when marks[k] is false (black
// otherwise); differing blanks also get the marker when markBlanks is set.
[[nodiscard]] std::vector<LineDiffView::Run> RunsOfMarks(const LineText& text, const std::vector<bool>& marks,
                                                         bool markBlanks);

// Replaces the box's content with the text formatted as RunsOfMarks says;
// the caret is put at the start.
void ShowMarked(LineDiffView* box, const LineText& text, const std::vector<bool>& marks, bool markBlanks);

}  // namespace DetailPane

namespace modVantrel {

// Switches painting of a window off, or on again with one repaint.
void SetRedraw(QWidget* window, bool redraw);

}  // namespace modVantrel
