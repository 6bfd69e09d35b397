// Bookmarks on rows of the displayed comparison: toggling, moving to the
// next or previous one, clearing them all. The model keeps the bookmarked
// rows; grid one's pictures are drawn from it, so they always agree.

#include "app/ErrorReport.h"
#include "app/Prompt.h"
#include "mainwindow/frmFileDiffs.h"

#include <QAction>

void frmFileDiffs::mnuFileToggleBookmark_Click()
{
    ToggleBookmark();
}
void frmFileDiffs::mnuFileClearAllBookmarks_Click()
{
    ClearAllBookmarks();
}

void frmFileDiffs::mnuFileNextBookmark_Click()
{
    if (HourglassShown())
        return;
    ShowBookmarkSearchResult(GetNextBookmark(), QStringLiteral("Next Bookmark"));
}

void frmFileDiffs::mnuFilePreviousBookmark_Click()
{
    if (HourglassShown())
        return;
    ShowBookmarkSearchResult(GetPreviousBookmark(), QStringLiteral("Previous Bookmark"));
}

void frmFileDiffs::ShowBookmarkSearchResult(std::int32_t row, const QString& title)
{
    if (row == kNotFound) {
        modVantrel::MsgBox(QStringLiteral("No more bookmarks"), modVantrel::PromptButtons::Ok,
                           modVantrel::PromptIcon::Information, title);
        return;
    }
    // A search that failed has been reported; there is no row to go to.
    if (row < 1 || row > m_model.RowCount())
        return;
    GoToRow(row);
}

void frmFileDiffs::ToggleBookmark()
{
    try {
        // A bookmark goes on a row of its own: a fold row is opened first.
        const std::int32_t row = m_model.CurrentRow();
        if (UnfoldRow(row))
            RefreshSelection();
        if (IsRowBookmarked(row)) {
            m_model.RemoveBookmark(row);
            // The row keeps its marker, now the plain one of its kind.
            MarkCurrentRow();
            MarkCurrentRowInDiffsBar();
        } else {
            m_model.AddBookmark(row);
            grdFileOne->viewport()->update();
        }
        EnableBookmarkCommands();
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.ToggleBookmark"));
    }
}

void frmFileDiffs::ClearAllBookmarks()
{
    try {
        // The current row, when bookmarked, is marked afresh and so gets the
        // plain marker of its kind; the marker stays wherever it was else.
        const bool currentWasBookmarked = IsRowBookmarked(m_model.CurrentRow());
        m_model.ClearBookmarks();
        if (currentWasBookmarked)
            MarkCurrentRow();
        grdFileOne->viewport()->update();
        EnableBookmarkCommands();
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.ClearAllBookmarks"));
    }
}

std::int32_t frmFileDiffs::GetNextBookmark()
{
    return SearchFromCurrentRow(&ComparisonModel::NextBookmark, "frmFileDiffs.GetNextBookmark");
}

std::int32_t frmFileDiffs::GetPreviousBookmark()
{
    return SearchFromCurrentRow(&ComparisonModel::PreviousBookmark, "frmFileDiffs.GetPreviousBookmark");
}

void frmFileDiffs::EnableBookmarkCommands()
{
    const bool enabled = !m_model.Bookmarks().empty();
    // Each toolbar button shares its menu item's action.
    for (QAction* action : {mnuFileNextBookmark, mnuFilePreviousBookmark, mnuFileClearAllBookmarks})
        action->setEnabled(enabled);
}
