// Command handlers of the main window that hand their work to another
// part of the program: exit, printing, saving, external viewing and help.

#include "mainwindow/frmFileDiffs.h"

#include "about/ProductInfo.h"
#include "about/ShellOpen.h"
#include "app/ErrorReport.h"
#include "app/Prompt.h"
#include "help/HelpWindow.h"
#include "mainwindow/ExternalViewing.h"
#include "compare/ComparisonSave.h"
#include "mainwindow/CompareMessages.h"
#include "mainwindow/WaitCursor.h"
#include "print/frmPrintOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

// One pane of the displayed comparison as the printing reads it: the rows
// the grids show, a fold row as its text.
class PanePrintRows final : public PrintRows {
public:
    PanePrintRows(const ComparisonModel& model, int side) : m_model(model), m_folds(model.Folds()), m_side(side) {}
    int RowCount() const override { return m_folds ? m_folds->ShownRowCount() : m_model.RowCount(); }
    QString RowText(int shown, int maxChars) const override
    {
        const std::int32_t row = m_folds ? m_folds->RowOfShown(shown) : shown;
        if (const RowFolding::Fold* fold = m_folds ? m_folds->FoldOf(row) : nullptr)
            return RowFolding::FoldText(fold->rowCount).left(maxChars);
        return m_model.RowText(m_side, row).left(maxChars);
    }
    std::uint32_t RowColor(int shown) const override
    {
        const std::int32_t row = m_folds ? m_folds->RowOfShown(shown) : shown;
        const std::uint32_t color = m_model.RowColor(m_side, row);
        return color == Alignment::kDefaultColor || (m_folds && m_folds->FoldOf(row)) ? 0 : color;
    }

private:
    const ComparisonModel& m_model;
    std::shared_ptr<const RowFolding::FoldedView> m_folds;
    int m_side;
};

}  // namespace

void frmFileDiffs::mnuFileExit_Click()
{
    // Closing runs the unload, as the close box does.
    close();
}

void frmFileDiffs::mnuFilePrint_Click()
{
    const PanePrintRows one(m_model, 0);
    const PanePrintRows two(m_model, 1);
    frmPrintOptions dialog({&one, txtFileOne->text()}, {&two, txtFileTwo->text()}, this);
    if (m_model.Folds())
        dialog.SetFoldedNote(QStringLiteral("Only the changes, as the panes show them."));
    if (dialog.Form_Load())
        modVantrel::Prompts().showModal(&dialog);
}

// The patch from File One to File Two of the comparison shown, to a file
// the user names; refused for binary files and while nothing is shown.
void frmFileDiffs::mnuFileSavePatch_Click()
{
    try {
        SaveComparison(QStringLiteral("Save Patch"), QStringLiteral("Patch Files (*.patch *.diff)"),
                       [this](const QString& path) { return ComparisonSave::SavePatch(m_model, path); });
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.mnuFileSavePatch_Click"));
    }
}

// The comparison shown as an HTML page, to a file the user names.
void frmFileDiffs::mnuFileSaveReport_Click()
{
    try {
        SaveComparison(
            QStringLiteral("Save Report"), QStringLiteral("HTML Files (*.html *.htm)"), [this](const QString& path) {
                const cViewFileDiffsOptions& options = Options();
                return ComparisonSave::SaveReport(m_model, path, options.IgnoreCase, CompareMessages::Ignored(options));
            });
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.mnuFileSaveReport_Click"));
    }
}

// Asks for a file (beside the home folder, named after File One) and hands
// it to `save`; says why when nothing is shown to save or the save failed.
void frmFileDiffs::SaveComparison(const QString& title, const QString& filter,
                                  const std::function<QString(const QString&)>& save)
{
    QString trouble = ComparisonSave::PatchRefusal(m_model, LastCompareWasBinary());
    if (trouble.isEmpty()) {
        const QString suffix = filter.section(QStringLiteral("(*"), 1).section(u' ', 0, 0).remove(u')');
        const QString suggested =
            QDir(QDir::homePath()).filePath(QFileInfo(txtFileOne->text().trimmed()).completeBaseName() + suffix);
        const std::optional<QString> name =
            modVantrel::Prompts().saveFile({title, suggested, filter + QStringLiteral(";;All Files (*)")});
        if (!name || name->isEmpty())
            return;
        const WaitCursor wait;
        trouble = save(*name);
    }
    if (!trouble.isEmpty())
        modVantrel::MsgBox(trouble, modVantrel::PromptButtons::Ok, modVantrel::PromptIcon::Exclamation, title);
}

// External viewing and help (ExternalViewing, HelpWindow, ProductInfo).
void frmFileDiffs::mnuViewFileOneUseNotepad_Click()
{
    ExternalViewing::UseNotepad(txtFileOne->text(), ExternalViewing::File::One);
}

void frmFileDiffs::mnuViewFileOneUseAssociated_Click()
{
    if (ExternalViewing::UseAssociatedProgram(txtFileOne->text(), ExternalViewing::File::One))
        mnuViewFileOneUseNotepad_Click();
}

void frmFileDiffs::mnuViewFileTwoUseNotepad_Click()
{
    ExternalViewing::UseNotepad(txtFileTwo->text(), ExternalViewing::File::Two);
}

void frmFileDiffs::mnuViewFileTwoUseAssociated_Click()
{
    if (ExternalViewing::UseAssociatedProgram(txtFileTwo->text(), ExternalViewing::File::Two))
        mnuViewFileTwoUseNotepad_Click();
}

void frmFileDiffs::mnuHelpContent_Click()
{
    HelpWindow::ShowTopic(this, HelpWindow::kContents);
    QCoreApplication::processEvents();
}

void frmFileDiffs::mnuHelpVisitQuellanWeb_Click()
{
    ShellOpen::Open(ProductInfo::kMakerWebSite);
}

void frmFileDiffs::mnuHelpContactUs_Click()
{
    ShellOpen::Open(ProductInfo::kSupportMail);
}

void frmFileDiffs::mnuHelpAbout_Click()
{
    modVantrel::MsgBox(ProductInfo::AboutText(), modVantrel::PromptButtons::Ok, modVantrel::PromptIcon::Information,
                       QStringLiteral("Vantrel"));
}
