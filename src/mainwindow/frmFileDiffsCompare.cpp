// The Compare command: checks the two paths, runs the engine, reports the
// outcomes that cannot be shown side by side, and otherwise fills the two
// grids with the aligned lines, draws the difference bar and selects the
// first difference.
//
// The grids never copy the files' text: each grid row holds a line index
// into the file the engine read, and both grids take their rows in one step,
// so a million-line comparison costs a few bytes per row and linear time.

#include "mainwindow/frmFileDiffs.h"

#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/Prompt.h"
#include "app/VantrelError.h"
#include "compare/Alignment.h"
#include "compare/FileFactsText.h"
#include "engine/EndingsOnly.h"
#include "engine/FileNameText.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/CompareInputGuard.h"
#include "mainwindow/FileChangeWatcher.h"
#include "mainwindow/LineFileRowText.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

using modVantrel::MsgBox;
using modVantrel::PromptButtons;
using modVantrel::PromptIcon;

namespace {

const QString kCompareTitle = QStringLiteral("Compare Files");
const QString kBinaryMessage = QStringLiteral(
    "The files differ but the differences are not viewable.\r\n"
    "Only differences between text files can be viewed. \r\n\r\n"
    "See the View File Differences topic in the Help file for details.");

bool ValidComparePath(const QString& path)
{
    return !path.isEmpty() && modVantrel::FileExists(path);
}

// The file as the engine read it for the last comparison; read again with
// the same line reader only when the engine does not hold that very path.
std::shared_ptr<const LineFile> LinesOf(int which, const QString& path)
{
    const std::string bytes = FileNameText::ToBytes(path).toStdString();
    if (modVantrel::gDiffEngine) {
        std::shared_ptr<const LineFile> held = modVantrel::gDiffEngine->LoadedFile(which);
        if (held && held->Path() == bytes)
            return held;
    }
    LineFile::LoadResult loaded = LineFile::Load(bytes, LineFile::Wide::Decode);
    if (!loaded.file)
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::FileIo, cDiffEngine::DescribeFileError(loaded.error));
    return loaded.file;
}

// Rows coloured as changed whose lines read the same are puzzling: when
// every difference lies in line endings or byte-order marks, say so.
void SayWhenOnlyLineEndsDiffer(const ComparisonModel& model)
{
    if (!modVantrel::gDiffEngine || !model.Shown()
        || !OnlyLineEndsDiffer(*model.File(0), *model.File(1), modVantrel::gDiffEngine->Hunks()))
        return;
    MsgBox(FileFactsText::EndingsOnlyMessage(*model.File(0), *model.File(1)), PromptButtons::Ok,
           PromptIcon::Information, kCompareTitle);
}

QString MarkingFailedMessage()
{
    QString text = QStringLiteral("Not able to compute the file differences.");
    if (modVantrel::gOptions && modVantrel::gOptions->ForceTextCompare)
        text += QStringLiteral("\r\n\r\nThis can happen if the files are not ASCII-based and\r\n"
                               "you are forcing a text compare.");
    return text;
}

}  // namespace

void frmFileDiffs::mnuFileCompare_Click()
{
    // A second Compare reached while pending events run would rebuild the
    // grids under the first one.
    if (m_compareRunning)
        return;
    m_compareRunning = true;
    // A proposal arriving while the grids fill would change a path under them.
    CancelPathCompletions();
    bool drawingOff = false;
    bool shown = false;
    {
        const CompareInputGuard refuseCommands(this);
        try {
            // File Two is only looked at once File One is known to be valid.
            const QString pathOne = modVantrel::TrimSpaces(txtFileOne->text());
            const bool oneValid = ValidComparePath(pathOne);
            const QString pathTwo = oneValid ? modVantrel::TrimSpaces(txtFileTwo->text()) : QString();
            if (!oneValid) {
                MsgBox(QStringLiteral("File One is not an existing file."), PromptButtons::Ok,
                       PromptIcon::Exclamation, QStringLiteral("File Does Not Exist"));
                ResetComparisonView();
            } else if (!ValidComparePath(pathTwo)) {
                MsgBox(QStringLiteral("File Two is not an existing file."), PromptButtons::Ok,
                       PromptIcon::Exclamation, QStringLiteral("File Does Not Exist"));
                ResetComparisonView();
            } else {
                setCursor(Qt::WaitCursor);
                for (VGrid* grid : {grdFileOne, grdFileTwo})
                    grid->SetRedraw(false);
                drawingOff = true;
                shown = RunComparison(pathOne, pathTwo);
            }
        } catch (...) {
            modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.mnuFileCompare_Click"));
            // A comparison broken off half-way must not look like a result.
            try {
                ResetComparisonView();
            } catch (...) {
            }
        }
    }
    if (drawingOff) {
        for (VGrid* grid : {grdFileOne, grdFileTwo})
            grid->SetRedraw(true);
    }
    unsetCursor();
    // Asked once the grids are drawn again, so the rows it speaks of show.
    if (shown)
        SayWhenOnlyLineEndsDiffer(m_model);
    m_compareRunning = false;
    // A change noticed while Compare ran is asked about once it is done.
    if (!m_fileWatcher->ChangedPaths().isEmpty())
        QTimer::singleShot(0, this, [this] {
            if (isActiveWindow())
                AskToCompareAgain();
        });
}

// Steps of the command from clearing the grids on, for two valid paths;
// drawing is off and the hourglass shows. True when a comparison is shown.
bool frmFileDiffs::RunComparison(const QString& pathOne, const QString& pathTwo)
{
    grdFileOne->ClearCells();
    grdFileTwo->ClearCells();
    QCoreApplication::processEvents();
    pctContainer->Clear();
    pctDiffsBar->Clear(palette().color(QPalette::Button));
    RemoveRowsInGrids();
    QCoreApplication::processEvents();
    grdFileOne->SetRow(1);
    grdFileTwo->SetRow(1);
    grdFileOne->SetTopRow(1);
    if (!modVantrel::gOptions)
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::Unknown,
                                       QStringLiteral("The program's options are not available."));
    modVantrel::gOptions->FileOne = pathOne;
    modVantrel::gOptions->FileTwo = pathTwo;
    // Watched from before they are read, so that a change made while they
    // are compared is not taken for their state; a failure below stops it.
    m_fileWatcher->Watch({pathOne, pathTwo});
    if (CompareFilesAndStoreResultsInGlobalDiffObject() && DisplayComparisonResultsInGrid() && DrawDiffBars()) {
        ShowDetailPaneHint();
        mnuFileShowFirstDiff_Click();
        return true;
    }
    ResetComparisonView();
    return false;
}

bool frmFileDiffs::CompareFilesAndStoreResultsInGlobalDiffObject()
{
    bool success = false;
    try {
        if (!modVantrel::gDiffEngine || !modVantrel::gOptions)
            throw modVantrel::VantrelError(modVantrel::ErrorNumber::Unknown,
                                           QStringLiteral("The comparison engine is not available."));
        cDiffEngine& engine = *modVantrel::gDiffEngine;
        const cViewFileDiffsOptions& options = *modVantrel::gOptions;
        engine.IgnoreCase(options.IgnoreCase);
        engine.IgnoreWhiteSpace(options.IgnoreWhiteSpace);
        engine.ForceTextCompare(options.ForceTextCompare);
        switch (engine.CompareFiles(options.FileOne, options.FileTwo)) {
        case 0:
            MsgBox(QStringLiteral("The files are identical"), PromptButtons::Ok, PromptIcon::Information,
                   kCompareTitle);
            break;
        case 1: {
            success = true;
            const QString binaryLine =
                QStringLiteral("Binary files ") + options.FileOne + u' ' + options.FileTwo + QStringLiteral(" differ");
            if (engine.ResultLine(0).contains(binaryLine)) {
                MsgBox(kBinaryMessage, PromptButtons::Ok, PromptIcon::Information, kCompareTitle);
                success = false;
            }
            break;
        }
        case 2:
            MsgBox(QStringLiteral("Errors encountered comparing the files\r\n\r\n") + engine.ResultLine(0),
                   PromptButtons::Ok, PromptIcon::Exclamation, kCompareTitle);
            break;
        default:
            break;
        }
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.CompareFilesAndStoreResultsInGlobalDiffObject"));
        success = false;
    }
    return success;
}

bool frmFileDiffs::DisplayComparisonResultsInGrid()
{
    try {
        ResetDiffCollections();
        if (!LoadFilesIntoGrids(modVantrel::gOptions->FileOne, modVantrel::gOptions->FileTwo))
            return false;
        if (!modVantrel::gDiffEngine || !MarkDifferencesInGrids(*modVantrel::gDiffEngine))
            return false;
        if (grdFileOne->Rows() > 1 && grdFileTwo->Rows() > 1) {
            grdFileOne->SetRow(1);
            grdFileTwo->SetRow(1);
            MarkCurrentRow();
            MarkCurrentRowInDiffsBar();
        }
        return true;
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.DisplayComparisonResultsInGrid"));
        return false;
    }
}

void frmFileDiffs::ResetDiffCollections()
{
    // Search texts outlive the comparison; everything else starts afresh.
    m_model.Clear();
}

void frmFileDiffs::RemoveRowsInGrids()
{
    try {
        // Keeping rows 0 and 1 by cutting the rest in one step gives what
        // deleting row 2 over and over gives, without its quadratic cost.
        const int rowsOne = grdFileOne->Rows();
        const int rowsTwo = grdFileTwo->Rows();
        if (rowsOne > 2)
            grdFileOne->SetRows(2);
        if (rowsTwo > 2)
            grdFileTwo->SetRows(2);
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.RemoveRowsInGrids"));
    }
}

bool frmFileDiffs::LoadFilesIntoGrids(const QString& fileOne, const QString& fileTwo)
{
    try {
        // The rows are given to the grids once they are aligned.
        m_loadedFiles = {LinesOf(0, fileOne), LinesOf(1, fileTwo)};
        for (const auto& file : m_loadedFiles) {
            if (file->LineCount() >= std::numeric_limits<std::int32_t>::max())
                throw modVantrel::VantrelError(modVantrel::ErrorNumber::Overflow,
                                               QStringLiteral("Too many lines to show: %1").arg(FileNameText::FromBytes(file->Path())));
        }
        return true;
    } catch (...) {
        m_loadedFiles = {};
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.LoadFilesIntoGrids"));
        return false;
    }
}

bool frmFileDiffs::MarkDifferencesInGrids(const cDiffEngine& engine)
{
    const auto [one, two] = std::exchange(m_loadedFiles, {});
    try {
        if (!one || !two)
            throw modVantrel::VantrelError(modVantrel::ErrorNumber::Unknown, QStringLiteral("No files are loaded."));
        Alignment::AlignOutcome outcome = Alignment::alignHunks(
            engine.Hunks(), static_cast<std::int32_t>(one->LineCount()), static_cast<std::int32_t>(two->LineCount()));
        if (!outcome.ok())
            Alignment::padShorterPane(outcome.rows);
        DisplayComparison(one, two, std::move(outcome.rows));
        if (!outcome.ok()) {
            MsgBox(MarkingFailedMessage(), PromptButtons::Ok, PromptIcon::Critical,
                   QStringLiteral("Show File Differences"));
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        // Memory ran out for the rows: say so, and what they need.
        MsgBox(FileFactsText::OutOfMemoryMessage(*one, *two, Alignment::rowsNeeded(engine.Hunks(), one->LineCount())),
               PromptButtons::Ok, PromptIcon::Critical, QStringLiteral("Show File Differences"));
        return false;
    } catch (...) {
        MsgBox(MarkingFailedMessage(), PromptButtons::Ok, PromptIcon::Critical, QStringLiteral("Show File Differences"));
        return false;
    }
}

void frmFileDiffs::DisplayComparison(std::shared_ptr<const LineFile> one, std::shared_ptr<const LineFile> two,
                                     Alignment::AlignedRows rows)
{
    m_model.Show(std::move(one), std::move(two), std::move(rows));
    txtFileOne->setToolTip(FileFactsText::Summary(*m_model.File(0)));
    txtFileTwo->setToolTip(FileFactsText::Summary(*m_model.File(1)));
    grdFileOne->SetTextMatrix(0, QString());
    grdFileTwo->SetTextMatrix(0, QString());
    grdFileOne->SetRowsFrom(m_model.Pane(0), std::make_shared<LineFileRowText>(m_model.File(0)));
    grdFileTwo->SetRowsFrom(m_model.Pane(1), std::make_shared<LineFileRowText>(m_model.File(1)));
    EnableResultCommands();
}
