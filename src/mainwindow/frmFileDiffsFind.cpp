// Find: asks for a text and looks for it in both panes, downward and then
// upward from the current row; Find Next and Find Previous repeat the last
// text that was found in one direction. The row found is selected and the
// text found is selected in the detail pane.

#include "app/ErrorReport.h"
#include "app/Prompt.h"
#include "compare/RowSearch.h"
#include "compare/RowText.h"
#include "mainwindow/frmFileDiffs.h"

#include <QAction>

using modVantrel::MsgBox;
using modVantrel::PromptButtons;
using modVantrel::PromptIcon;

namespace {

const QString kFindTitle = QStringLiteral("Find");

}  // namespace

void frmFileDiffs::mnuFileFind_Click()
{
    const QStringList& texts = m_model.SearchTexts();
    const std::optional<QString> answer = modVantrel::Prompts().input(
        {kFindTitle, QStringLiteral("Enter search text.\r\n\r\nPress OK to begin searching from the current line."),
         texts.isEmpty() ? QString() : texts.last()});
    const QString text = answer.value_or(QString());
    if (text.isEmpty())
        return;
    std::int32_t row = 0;
    bool found = false;
    Find(text, QStringLiteral("Both"), row, found);
    if (found) {
        m_model.AddSearchText(text);
        ShowFoundRow(row, text);
    } else {
        MsgBox(m_model.CurrentRow() != 1
                   ? QStringLiteral("Search text was not found.  Try searching from the beginning of the file.")
                   : QStringLiteral("Search text was not found."),
               PromptButtons::Ok, PromptIcon::Information, kFindTitle);
    }
    EnableFindNextPrevious(found);
}

void frmFileDiffs::mnuFileFindNext_Click()
{
    RepeatFind(QStringLiteral("Next"));
}
void frmFileDiffs::mnuFileFindPrevious_Click()
{
    RepeatFind(QStringLiteral("Previous"));
}

void frmFileDiffs::RepeatFind(const QString& direction)
{
    const QStringList& texts = m_model.SearchTexts();
    const QString text = texts.isEmpty() ? QString() : texts.last();
    std::int32_t row = 0;
    bool found = false;
    Find(text, direction, row, found);
    if (found)
        ShowFoundRow(row, text);
    else
        MsgBox(QStringLiteral("Search text not found"), PromptButtons::Ok, PromptIcon::Information, kFindTitle);
}

void frmFileDiffs::ShowFoundRow(std::int32_t row, const QString& text)
{
    if (row < 1 || row > m_model.RowCount())
        return;
    GoToRow(row);
    // The text found is selected in each line of the detail pane that holds it.
    const RowSearch::Needle needle(text);
    for (std::size_t side = 0; side < 2; ++side) {
        const QString rowText = (side == 0 ? grdFileOne : grdFileTwo)->TextMatrix(row);
        const std::optional<RowSearch::Span> span = RowSearch::MatchInLine(needle, rowText);
        if (!span)
            continue;
        // A tag the pane shows before the line (a byte-order mark) moves
        // the text found to the right.
        const QString found = RowText::LineOfRowText(rowText).mid(span->start, span->length);
        const qsizetype at = rtfLineDiff[side]->toPlainText().indexOf(found, span->start);
        if (at >= 0)
            rtfLineDiff[side]->ShowSelection(at, found.size());
    }
}

void frmFileDiffs::Find(const QString& text, const QString& direction, std::int32_t& row, bool& found)
{
    try {
        ComparisonModel::FindDirection way;
        if (direction == QLatin1String("Next"))
            way = ComparisonModel::FindDirection::Next;
        else if (direction == QLatin1String("Previous"))
            way = ComparisonModel::FindDirection::Previous;
        else if (direction == QLatin1String("Both"))
            way = ComparisonModel::FindDirection::Both;
        else
            return;
        if (const std::optional<std::int32_t> hit = m_model.Find(text, way, m_model.CurrentRow())) {
            row = *hit;
            found = true;
        }
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.Find"));
    }
}

void frmFileDiffs::EnableFindNextPrevious(bool enabled)
{
    // Each toolbar button shares its menu item's action.
    mnuFileFindNext->setEnabled(enabled);
    mnuFileFindPrevious->setEnabled(enabled);
}
