// The folder window's options. Each command changes the option record,
// which the file view shares: the ignore options are the file view's own,
// and it is told when they change here. What is compared changes at the
// next Compare or Refresh; nothing here writes the INI file.

#include "folderview/frmFolderDiffs.h"

#include "app/Globals.h"
#include "app/Prompt.h"
#include "folderview/NameFiltersDialog.h"
#include "help/HelpWindow.h"
#include "mainwindow/LineFiltersDialog.h"

#include <QAction>
#include <QLineEdit>

cViewFileDiffsOptions& frmFolderDiffs::Options() const
{
    // The window lives only while the program's options do; a record of
    // its own stands in when there are none (a window made by a test).
    static cViewFileDiffsOptions own;
    return modVantrel::gOptions ? *modVantrel::gOptions : own;
}

void frmFolderDiffs::SetFolderFlag(bool cViewFileDiffsOptions::FolderCompare::*flag, const QAction* item)
{
    Options().Folders.*flag = item->isChecked();
    ShowOptions();
}

void frmFolderDiffs::SetTextFlag(bool cViewFileDiffsOptions::*flag, const QAction* item)
{
    Options().*flag = item->isChecked();
    if (m_links.optionsChanged)
        m_links.optionsChanged();
}

void frmFolderDiffs::mnuOptionsByContent_Click()
{
    Options().Folders.BySizeAndTime = false;
    ShowOptions();
}

void frmFolderDiffs::mnuOptionsBySizeAndTime_Click()
{
    Options().Folders.BySizeAndTime = true;
    ShowOptions();
}

void frmFolderDiffs::mnuOptionsAsText_Click()
{
    SetFolderFlag(&cViewFileDiffsOptions::FolderCompare::AsText, mnuOptionsAsText);
}

void frmFolderDiffs::mnuOptionsIgnoreCase_Click()
{
    SetTextFlag(&cViewFileDiffsOptions::IgnoreCase, mnuOptionsIgnoreCase);
}

void frmFolderDiffs::mnuOptionsIgnoreWhitespace_Click()
{
    SetTextFlag(&cViewFileDiffsOptions::IgnoreWhiteSpace, mnuOptionsIgnoreWhitespace);
}

void frmFolderDiffs::mnuOptionsIgnoreWhiteSpaceChanges_Click()
{
    SetTextFlag(&cViewFileDiffsOptions::IgnoreWhiteSpaceChanges, mnuOptionsIgnoreWhiteSpaceChanges);
}

void frmFolderDiffs::mnuOptionsIgnoreLineEndings_Click()
{
    SetTextFlag(&cViewFileDiffsOptions::IgnoreLineEndings, mnuOptionsIgnoreLineEndings);
}

void frmFolderDiffs::mnuOptionsIgnoreBlankLines_Click()
{
    SetTextFlag(&cViewFileDiffsOptions::IgnoreBlankLines, mnuOptionsIgnoreBlankLines);
}

void frmFolderDiffs::mnuOptionsLineFilters_Click()
{
    LineFiltersDialog dialog(Options().LineFilters, this);
    modVantrel::Prompts().showModal(&dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    Options().LineFilters = dialog.Filters();
    if (m_links.optionsChanged)
        m_links.optionsChanged();
}

void frmFolderDiffs::mnuOptionsIgnoreNameCase_Click()
{
    SetFolderFlag(&cViewFileDiffsOptions::FolderCompare::IgnoreNameCase, mnuOptionsIgnoreNameCase);
}

void frmFolderDiffs::mnuOptionsHonourGitIgnore_Click()
{
    SetFolderFlag(&cViewFileDiffsOptions::FolderCompare::HonourGitIgnore, mnuOptionsHonourGitIgnore);
}

void frmFolderDiffs::mnuOptionsFollowLinks_Click()
{
    SetFolderFlag(&cViewFileDiffsOptions::FolderCompare::FollowLinks, mnuOptionsFollowLinks);
}

void frmFolderDiffs::mnuOptionsNameFilters_Click()
{
    cViewFileDiffsOptions::FolderCompare& folders = Options().Folders;
    NameFiltersDialog dialog(folders.ExcludeFiles, folders.ExcludeFolders, this);
    modVantrel::Prompts().showModal(&dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    folders.ExcludeFiles = dialog.Files();
    folders.ExcludeFolders = dialog.Folders();
}

void frmFolderDiffs::mnuFileSelectFolderOne_Click()
{
    SelectFolder(txtFolderOne, QStringLiteral("Select Folder One"));
}

void frmFolderDiffs::mnuFileSelectFolderTwo_Click()
{
    SelectFolder(txtFolderTwo, QStringLiteral("Select Folder Two"));
}

void frmFolderDiffs::SelectFolder(QLineEdit* box, const QString& title)
{
    const std::optional<QString> chosen = modVantrel::Prompts().openFolder({title, box->text(), QString()});
    if (chosen)
        box->setText(*chosen);
}

void frmFolderDiffs::mnuHelpContent_Click()
{
    HelpWindow::ShowTopic(this, HelpWindow::kContents);
}
