#pragma once
// Filling one box of the detail pane: the text of a line, each character
// black or red, and differing blanks underlined so that they can be seen.
// The whole document is built in one edit, one insertion per run of equally
// formatted characters, so a long line is formatted in one pass.

#include <QString>
#include <QStringView>
#include <QTextCharFormat>
#include <vector>

class QTextEdit;
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
void ShowPlain(QTextEdit* box, const QString& text, const QColor& color);

// Replaces the box's content with the text, character k red when marks[k]
// is false (black otherwise); differing blanks also get the marker when
// markBlanks is set. The caret is put at the start.
void ShowMarked(QTextEdit* box, const QString& text, const std::vector<bool>& marks, bool markBlanks);

}  // namespace DetailPane

namespace modVantrel {

// Switches painting of a window off, or on again with one repaint.
void SetRedraw(QWidget* window, bool redraw);

}  // namespace modVantrel
