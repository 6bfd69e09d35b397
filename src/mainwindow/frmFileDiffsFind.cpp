// Find: asks for a text and looks for it in both panes, downward and then
// upward from the current row; Find Next and Find Previous repeat the last
// text that was found in one direction.

#include "app/ErrorReport.h"
#include "app/Prompt.h"
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
        ShowFoundRow(row);
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
    std::int32_t row = 0;
    bool found = false;
    Find(texts.isEmpty() ? QString() : texts.last(), direction, row, found);
    if (found)
        ShowFoundRow(row);
    else
        MsgBox(QStringLiteral("Search text not found"), PromptButtons::Ok, PromptIcon::Information, kFindTitle);
}

void frmFileDiffs::ShowFoundRow(std::int32_t row)
{
    if (row >= 1 && row <= m_model.RowCount())
        GoToRow(row);
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
