#include "mainwindow/ExternalViewing.h"

#include "about/ShellOpen.h"
#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/Prompt.h"
#include "app/TextEditor.h"

using modVantrel::MsgBox;
using modVantrel::PromptAnswer;
using modVantrel::PromptButtons;
using modVantrel::PromptIcon;

namespace ExternalViewing {
namespace {

const QString kNotepadTitle = QStringLiteral("View File in Notepad");
const QString kAssociatedTitle = QStringLiteral("View File in Associated Program");
const QString kCrLf = QStringLiteral("\r\n");

QString Name(File file)
{
    return file == File::One ? QStringLiteral("One") : QStringLiteral("Two");
}

// The handler's source text for the error report, e.g.
// "frmFileDiffs.mnuViewFileOneUseNotepad_Click".
QString Source(File file, const char* command)
{
    return QStringLiteral("frmFileDiffs.mnuViewFile") + Name(file) + QLatin1String(command) + QStringLiteral("_Click");
}

// The trimmed path when it names an existing file; otherwise the user is
// told, under title, and the result is empty.
QString ExistingFile(const QString& pathBoxText, File file, const QString& title)
{
    const QString path = modVantrel::TrimSpaces(pathBoxText);
    if (modVantrel::FileExists(path))
        return path;
    MsgBox(QStringLiteral("File ") + Name(file) + QStringLiteral(" does not exist."), PromptButtons::Ok,
           PromptIcon::Exclamation, title);
    return QString();
}

}  // namespace

void UseNotepad(const QString& pathBoxText, File file)
{
    try {
        const QString path = ExistingFile(pathBoxText, file, kNotepadTitle);
        if (path.isEmpty())
            return;
        if (!modVantrel::LoadFileInNotepad(path))
            MsgBox(QStringLiteral("Unable to show the file in the Notepad."), PromptButtons::Ok,
                   PromptIcon::Exclamation, kNotepadTitle);
    } catch (...) {
        modVantrel::ReportUnexpectedError(Source(file, "UseNotepad"));
    }
}

bool UseAssociatedProgram(const QString& pathBoxText, File file)
{
    try {
        const QString path = ExistingFile(pathBoxText, file, kAssociatedTitle);
        if (path.isEmpty() || ShowFileInAssociatedProgram(path))
            return false;
        const QString question =
            QStringLiteral("Unable to show the file in the associated program.") + kCrLf
            + QStringLiteral("Make sure that a program has been associated with files of this type.") + kCrLf + kCrLf
            + QStringLiteral("Would you like to view the file in Notepad?");
        return MsgBox(question, PromptButtons::YesNo, PromptIcon::Question, kAssociatedTitle) == PromptAnswer::Yes;
    } catch (...) {
        modVantrel::ReportUnexpectedError(Source(file, "UseAssociated"));
        return false;
    }
}

bool ShowFileInAssociatedProgram(const QString& path)
{
    try {
        return ShellOpen::OpenFile(path);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.ShowFileInAssociatedProgram"));
        return false;
    }
}

}  // namespace ExternalViewing
