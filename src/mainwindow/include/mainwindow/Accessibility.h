#pragma once
// What assistive technology (a screen reader, through Qt's accessibility
// layer and AT-SPI on Linux) reads of the widgets the window paints by
// hand. Each grid is a table of one column whose rows are the rows as
// shown, a fold row as one; a row's cell is made only when it is asked
// for, so a million-row comparison costs what is read of it. The detail
// pane's boxes are read-only text that names the ranges of characters that
// differ; the difference bar is a control whose value is the current row.

class DiffBarWidget;
class LineDiffView;
class QAccessibleInterface;
class SplitterBar;
class VGrid;

namespace Accessibility {

// Lets Qt find the interfaces below for these widgets; once is enough,
// more calls do nothing.
void InstallFactory();

[[nodiscard]] QAccessibleInterface* CreateGridInterface(VGrid* grid);
[[nodiscard]] QAccessibleInterface* CreatePaneInterface(LineDiffView* box);
[[nodiscard]] QAccessibleInterface* CreateBarInterface(DiffBarWidget* bar);
[[nodiscard]] QAccessibleInterface* CreateSplitterInterface(SplitterBar* splitter);

// Cells of a grid read at most this many characters of a row's text,
// whatever the line's length; a longer text ends in "…".
inline constexpr int kCellTextLength = 2000;

}  // namespace Accessibility
