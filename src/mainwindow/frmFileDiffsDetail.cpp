// The detail pane's two displays: the selected row's two lines, plainly or
// with the characters that differ in red, and with markers for a line
// ending or byte-order mark in which the lines differ.

#include "app/ErrorReport.h"
#include "compare/CharacterDiff.h"
#include "compare/EndingMarkers.h"
#include "mainwindow/DetailPane.h"
#include "mainwindow/WaitCursor.h"
#include "mainwindow/frmFileDiffs.h"

namespace {

// Switches painting of both boxes off for its lifetime and on again at its
// end, also when the formatting failed, so the pane never stays frozen.
class PaneRedrawOff {
public:
    explicit PaneRedrawOff(const std::array<LineDiffView*, 2>& boxes) : m_boxes(boxes)
    {
        for (LineDiffView* box : m_boxes)
            modVantrel::SetRedraw(box, false);
    }
    ~PaneRedrawOff()
    {
        for (LineDiffView* box : m_boxes) {
            modVantrel::SetRedraw(box, true);
            box->viewport()->repaint();
        }
    }
    PaneRedrawOff(const PaneRedrawOff&) = delete;
    PaneRedrawOff& operator=(const PaneRedrawOff&) = delete;

private:
    std::array<LineDiffView*, 2> m_boxes;
};

// The markers the two lines of a row need. Ignoring white space ignores
// line endings and marks too, and then shows none.
std::array<EndingMarkers::Ending, 2> RowEndings(const ComparisonModel& model, std::int32_t row, bool ignoreWhiteSpace)
{
    if (ignoreWhiteSpace || !model.Shown())
        return {};
    return EndingMarkers::Compare(*model.File(0), model.LineOfRow(0, row), *model.File(1), model.LineOfRow(1, row));
}

// A line in one ink, with the markers of its ending as differing.
void ShowPlainMarked(LineDiffView* box, const LineText& text, LineDiffView::Ink ink, EndingMarkers::Ending ending)
{
    if (!ending.Any()) {
        DetailPane::ShowPlain(box, text, ink);
        return;
    }
    std::vector<bool> marks(static_cast<std::size_t>(text.size()), true);
    const LineText shown = EndingMarkers::WithMarkers(text, ending, marks);
    box->SetLine(shown, LineDiffView::MarkedLook{std::move(marks), false, ink});
}

}  // namespace

void frmFileDiffs::DisplaySelectedLinesInRTF()
{
    try {
        const std::int32_t row = m_model.CurrentRow();
        const LineText one = m_model.LineTextOf(0, row);
        const LineText two = m_model.LineTextOf(1, row);
        // A line whose counterpart is empty is shown wholly as differing.
        const bool oneAlone = two.isEmpty() && !one.isEmpty();
        const bool twoAlone = one.isEmpty() && !two.isEmpty();
        // Rows shown as unchanged (white space ignored when compared) get no markers.
        const std::array<EndingMarkers::Ending, 2> endings = SelectedRowIsUnchanged()
                                                                 ? std::array<EndingMarkers::Ending, 2>{}
                                                                 : RowEndings(m_model, row, Options().IgnoreWhiteSpace);
        using Ink = LineDiffView::Ink;
        ShowPlainMarked(rtfLineDiff[0], one, oneAlone ? Ink::Differ : Ink::Common, endings[0]);
        ShowPlainMarked(rtfLineDiff[1], two, twoAlone ? Ink::Differ : Ink::Common, endings[1]);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.DisplaySelectedLinesInRTF"));
    }
}

void frmFileDiffs::DisplaySelectedLinesDiffsInRTF()
{
    const WaitCursor wait;
    try {
        const PaneRedrawOff redrawOff(rtfLineDiff);
        // The lines as held for the pane: long lines of one byte per
        // character are not copied.
        const std::int32_t row = m_model.CurrentRow();
        const LineText one = m_model.LineTextOf(0, row);
        const LineText two = m_model.LineTextOf(1, row);
        // Options in force now apply, even if changed since the comparison.
        const bool ignoreCase = Options().IgnoreCase;
        const bool ignoreWhiteSpace = Options().IgnoreWhiteSpace;
        std::vector<bool> marks1;
        std::vector<bool> marks2;
        // A changed row of the comparison is compared once, for the grids'
        // marks and the pane alike.
        if (const auto* known = m_model.RowMarks(row, ignoreCase)) {
            marks1 = known->marks1;
            marks2 = known->marks2;
        } else {
            modVantrel::CharacterDiffResult found = modVantrel::ShownCharacterDiffs(one, two, ignoreCase);
            marks1 = std::move(found.marks1);
            marks2 = std::move(found.marks2);
        }
        const std::array<EndingMarkers::Ending, 2> endings = RowEndings(m_model, row, ignoreWhiteSpace);
        const LineText shownOne = EndingMarkers::WithMarkers(one, endings[0], marks1);
        const LineText shownTwo = EndingMarkers::WithMarkers(two, endings[1], marks2);
        // Case may be ignored in finding differences; each box still shows
        // its line in its own letter case.
        DetailPane::ShowMarked(rtfLineDiff[0], shownOne, std::move(marks1), !ignoreWhiteSpace);
        DetailPane::ShowMarked(rtfLineDiff[1], shownTwo, std::move(marks2), !ignoreWhiteSpace);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.DisplaySelectedLinesDiffsInRTF"));
    }
}
