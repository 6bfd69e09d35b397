// Comparing again when a compared file changes on disk: the window asks
// once per change, when it is active, and never while Compare runs.

#include "app/Globals.h"
#include "app/Prompt.h"
#include "mainwindow/FileChangeWatcher.h"
#include "mainwindow/frmFileDiffs.h"

void frmFileDiffs::AskToCompareAgain()
{
    if (m_askingToCompareAgain || m_compareRunning || HourglassShown())
        return;
    const QStringList changed = m_fileWatcher->ChangedPaths();
    if (changed.isEmpty())
        return;
    const QStringList watched{modVantrel::gOptions ? modVantrel::gOptions->FileOne : QString(),
                              modVantrel::gOptions ? modVantrel::gOptions->FileTwo : QString()};
    QString which;
    if (changed.size() > 1)
        which = QStringLiteral("File One and File Two have");
    else
        which = changed.front() == watched[1] && changed.front() != watched[0] ? QStringLiteral("File Two has")
                                                                               : QStringLiteral("File One has");
    const QString text = which + QStringLiteral(" changed on disk since the files were compared:\r\n\r\n")
                         + changed.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n\r\nCompare the files again?");
    m_askingToCompareAgain = true;
    const modVantrel::PromptAnswer answer = modVantrel::MsgBox(
        text, modVantrel::PromptButtons::YesNo, modVantrel::PromptIcon::Question, QStringLiteral("Files Changed"));
    m_askingToCompareAgain = false;
    // Changes made while the question was up belong to the same burst.
    m_fileWatcher->Acknowledge();
    if (answer == modVantrel::PromptAnswer::Yes)
        mnuFileCompare_Click();
}
