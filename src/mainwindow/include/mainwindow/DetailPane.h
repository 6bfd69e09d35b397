#pragma once
// Filling one box of the detail pane: the text of a line, each character
// common or differing (red), and differing blanks underlined so that they
// can be seen. The box works out the look from the marks for what it lays
// out, in the colours of its palette.

#include "compare/LineText.h"
#include "mainwindow/LineDiffView.h"

#include <QString>
#include <vector>

class QWidget;

namespace DetailPane {

// The line's own text in a row text such as " 12.abc": what follows the
// first period, or the whole text when it holds none. A filler row gives
// the empty text.
[[nodiscard]] QString LineTextOfRow(const QString& rowText);

// Replaces the box's content with the text in one ink, marker off, caret
// at the start.
void ShowPlain(LineDiffView* box, const LineText& text, LineDiffView::Ink ink);

// Replaces the box's content with the text, character k differing when
// marks[k] is false (common otherwise); differing blanks (space, TAB) also get the
// marker when markBlanks is set. The caret is put at the start.
void ShowMarked(LineDiffView* box, const LineText& text, std::vector<bool> marks, bool markBlanks);

}  // namespace DetailPane

namespace modVantrel {

// Switches painting of a window off, or on again with one repaint.
void SetRedraw(QWidget* window, bool redraw);

}  // namespace modVantrel
