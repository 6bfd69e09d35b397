// Choosing File One and File Two: the file dialogs, and the path boxes,
// whose every change discards a comparison on display, so that the grids
// never show files other than those named above them. Completion and drops
// are the boxes' own (PathBox).

#include "mainwindow/frmFileDiffs.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/Prompt.h"
#include "mainwindow/PathBox.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>

void frmFileDiffs::ConnectFileAndOptionHandlers()
{
    m_pathBoxes = {new PathBox(txtFileOne), new PathBox(txtFileTwo)};
    connect(txtFileOne, &QLineEdit::textChanged, this, &frmFileDiffs::txtFileOne_Change);
    connect(txtFileTwo, &QLineEdit::textChanged, this, &frmFileDiffs::txtFileTwo_Change);
    // Enter in a path box, as after typing or pasting a path, compares.
    for (QLineEdit* box : {txtFileOne, txtFileTwo})
        connect(box, &QLineEdit::returnPressed, this, [this] { mnuFileCompare->trigger(); });
    connect(chkTooltip, &QCheckBox::toggled, this, &frmFileDiffs::chkTooltip_Click);
}

void frmFileDiffs::ComparePaths(const QString& pathOne, const QString& pathTwo)
{
    txtFileOne->setText(pathOne);
    txtFileTwo->setText(pathTwo);
    ShowOptionsInForce();
    mnuFileCompare->trigger();
}

void frmFileDiffs::ShowOptionsInForce()
{
    ApplyOptions(Options());
}

void frmFileDiffs::CancelPathCompletions()
{
    for (PathBox* box : m_pathBoxes) {
        if (box)
            box->CancelSearch();
    }
}

void frmFileDiffs::txtFileOne_Change()
{
    if (m_model.Shown())
        ResetComparisonView();
}

void frmFileDiffs::txtFileTwo_Change()
{
    if (m_model.Shown())
        ResetComparisonView();
}

void frmFileDiffs::mnuFileSelectFileOne_Click()
{
    SelectFile(txtFileOne, modVantrel::gOptions ? modVantrel::gOptions->FileOne : QString(),
               QStringLiteral("Select File One"), QStringLiteral("frmFileDiffs.mnuFileSelectFileOne_Click"));
}

void frmFileDiffs::mnuFileSelectFileTwo_Click()
{
    SelectFile(txtFileTwo, modVantrel::gOptions ? modVantrel::gOptions->FileTwo : QString(),
               QStringLiteral("Select File Two"), QStringLiteral("frmFileDiffs.mnuFileSelectFileTwo_Click"));
}

// Opens where the file of the last comparison lies while it still exists,
// otherwise in the current folder; the dialog accepts only existing files.
// Cancelling ends the command without a message.
void frmFileDiffs::SelectFile(QLineEdit* box, const QString& lastFile, const QString& title, const QString& source)
{
    try {
        const QString folder = !lastFile.isEmpty() && modVantrel::FileExists(lastFile)
                                   ? modVantrel::GetFolderOfPath(lastFile)
                                   : QDir::currentPath();
        // Every file: "*.*" would hide files without an extension here.
        const std::optional<QString> chosen =
            modVantrel::Prompts().openFile({title, folder, QStringLiteral("All Files (*)")});
        if (!chosen)
            return;
        box->setText(*chosen);
        // Choosing the very path the box holds is no change of its text, and
        // still discards the comparison.
        if (m_model.Shown())
            ResetComparisonView();
    } catch (...) {
        modVantrel::ReportUnexpectedError(source);
    }
}
