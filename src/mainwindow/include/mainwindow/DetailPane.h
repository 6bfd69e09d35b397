#pragma once
// Filling one box of the detail pane: the text of a line, each character
// black or red, and differing blanks underlined so that they can be seen.
// The box works out the look from the marks for what it lays out.

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

// Replaces the box's content with the text in one colour, marker off, caret
// at the start.
void ShowPlain(LineDiffView* box, const LineText& text, const QColor& color);

// Replaces the box's content with the text, character k red when marks[k]
// is false (black otherwise); differing blanks (space, TAB) also get the
// marker when markBlanks is set. The caret is put at the start.
void ShowMarked(LineDiffView* box, const LineText& text, std::vector<bool> marks, bool markBlanks);

}  // namespace DetailPane

namespace modVantrel {

// Switches painting of a window off, or on again with one repaint.
void SetRedraw(QWidget* window, bool redraw);

}  // namespace modVantrel
