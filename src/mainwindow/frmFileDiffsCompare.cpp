// The Compare command: checks the two paths, runs the engine, reports the
// outcomes that cannot be shown side by side, and otherwise has the model
// show the files as the engine read them, aligned by the engine's blocks,
// draws the difference bar and selects the first difference.
//
// The engine's outcome is typed: nothing here reads its result text. Each
// file is read once, by the engine; the grids never copy the text, each of
// their rows holding a line index into the file the model shares with them.

#include "mainwindow/frmFileDiffs.h"

#include "app/ErrorReport.h"
#include "app/FolderComparison.h"
#include "app/Globals.h"
#include "app/Prompt.h"
#include "app/VantrelError.h"
#include "compare/FileFactsText.h"
#include "compare/Alignment.h"
#include "engine/EndingsOnly.h"
#include "engine/FileNameText.h"
#include "engine/cDiffEngine.h"
#include "mainwindow/CompareInputGuard.h"
#include "mainwindow/CompareMessages.h"
#include "mainwindow/FileChangeWatcher.h"
#include "mainwindow/LineFileRowText.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTimer>

#include <limits>
#include <new>

namespace {

void Tell(const modVantrel::MessagePrompt& prompt)
{
    (void)modVantrel::Prompts().message(prompt);
}

bool ValidComparePath(const QString& path)
{
    return !path.isEmpty() && modVantrel::FileExists(path);
}

cDiffEngine& Engine()
{
    if (!modVantrel::gDiffEngine)
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::Unknown,
                                       QStringLiteral("The comparison engine is not available."));
    return *modVantrel::gDiffEngine;
}

// Rows coloured as changed whose lines read the same are puzzling: when
// every difference lies in line endings or byte-order marks, say so.
void SayWhenOnlyLineEndsDiffer(const ComparisonModel& model)
{
    if (!modVantrel::gDiffEngine || !model.Shown())
        return;
    // Only the differences count, not the blocks laid out but ignored.
    std::vector<LineDiff::Hunk> differences;
    for (const LineDiff::Hunk& h : modVantrel::gDiffEngine->Hunks())
        if (!h.ignored)
            differences.push_back(h);
    if (!OnlyLineEndsDiffer(*model.File(0), *model.File(1), differences))
        return;
    modVantrel::MsgBox(FileFactsText::EndingsOnlyMessage(*model.File(0), *model.File(1)), modVantrel::PromptButtons::Ok,
                       modVantrel::PromptIcon::Information, QStringLiteral("Compare Files"));
}

// What the options ignored, when the files are identical only because of
// it: files read whole whose bytes differ. (Files not read are the same
// file, or were found equal byte for byte.) Ignore Case and Ignore
// Whitespace keep their plain "identical" message, which users of those two
// have always seen; only the newer relaxations are named.
QStringList IgnoredToBeIdentical(const cDiffEngine& engine, const cViewFileDiffsOptions& options)
{
    const std::shared_ptr<const LineFile> one = engine.LoadedFile(0);
    const std::shared_ptr<const LineFile> two = engine.LoadedFile(1);
    if (!one || !two || one->Bytes() == two->Bytes())
        return {};
    cViewFileDiffsOptions newer = options;
    newer.IgnoreCase = false;
    newer.IgnoreWhiteSpace = false;
    return CompareMessages::Ignored(newer);
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
            QString pathOne;
            QString pathTwo;
            if (CheckComparePaths(pathOne, pathTwo)) {
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

// The trimmed paths of both boxes when both name existing files; otherwise
// tells which does not and resets the view (but for two folders, handed to
// the folder comparison). File Two is only looked at once
// File One is known to be valid.
bool frmFileDiffs::CheckComparePaths(QString& pathOne, QString& pathTwo)
{
    pathOne = modVantrel::TrimSpaces(txtFileOne->text());
    // Two folders are compared in a window of their own; the view here stays.
    if (const QString folderTwo = modVantrel::TrimSpaces(txtFileTwo->text());
        modVantrel::IsFolderPath(pathOne) && modVantrel::IsFolderPath(folderTwo)
        && modVantrel::OpenFolderComparison(pathOne, folderTwo, true))
        return false;
    if (!ValidComparePath(pathOne)) {
        Tell(CompareMessages::NotAnExistingFile(CompareMessages::File::One));
        ResetComparisonView();
        return false;
    }
    pathTwo = modVantrel::TrimSpaces(txtFileTwo->text());
    if (!ValidComparePath(pathTwo)) {
        Tell(CompareMessages::NotAnExistingFile(CompareMessages::File::Two));
        ResetComparisonView();
        return false;
    }
    return true;
}

// Steps of the command from clearing the grids on, for two valid paths;
// drawing is off and the hourglass shows. True when a comparison is shown.
bool frmFileDiffs::RunComparison(const QString& pathOne, const QString& pathTwo)
{
    // The comparison on display goes with its cells.
    m_model.Clear();
    grdFileOne->ClearCells();
    grdFileTwo->ClearCells();
    QCoreApplication::processEvents();
    pctContainer->Clear();
    pctDiffsBar->Clear(palette().color(QPalette::Button));
    RemoveRowsInGrids();
    QCoreApplication::processEvents();
    SetCurrentRow(1);
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
    try {
        if (!modVantrel::gOptions)
            throw modVantrel::VantrelError(modVantrel::ErrorNumber::Unknown,
                                           QStringLiteral("The program's options are not available."));
        cDiffEngine& engine = Engine();
        const cViewFileDiffsOptions& options = *modVantrel::gOptions;
        engine.IgnoreCase(options.IgnoreCase);
        engine.IgnoreWhiteSpace(options.IgnoreWhiteSpace);
        engine.IgnoreWhiteSpaceChanges(options.IgnoreWhiteSpaceChanges);
        engine.IgnoreLineEndings(options.IgnoreLineEndings);
        engine.IgnoreBlankLines(options.IgnoreBlankLines);
        engine.LineFilters(options.EnabledLineFilters());
        engine.ForceTextCompare(options.ForceTextCompare);
        (void)engine.CompareFiles(options.FileOne, options.FileTwo);
        switch (engine.LastOutcome()) {
        case Outcome::Different: return true;
        case Outcome::Identical: Tell(CompareMessages::Identical(IgnoredToBeIdentical(engine, options))); break;
        case Outcome::BinaryDiffer: Tell(CompareMessages::Binary()); break;
        case Outcome::Failed: Tell(CompareMessages::EngineFailed(engine.FailureText())); break;
        }
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.CompareFilesAndStoreResultsInGlobalDiffObject"));
    }
    return false;
}

bool frmFileDiffs::DisplayComparisonResultsInGrid()
{
    try {
        ResetDiffCollections();
        const cDiffEngine& engine = Engine();
        const std::optional<ComparedFiles> files = LoadFilesIntoGrids(engine);
        if (!files || !MarkDifferencesInGrids(*files, engine))
            return false;
        SetCurrentRow(1);
        MarkCurrentRow();
        MarkCurrentRowInDiffsBar();
        EnableResultCommands();
        return true;
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.DisplayComparisonResultsInGrid"));
        return false;
    }
}

bool frmFileDiffs::LastCompareWasBinary()
{
    return modVantrel::gDiffEngine && modVantrel::gDiffEngine->LastOutcome() == Outcome::BinaryDiffer;
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

// The files as the engine read them for this comparison, refused when a
// row number could not count their lines.
std::optional<frmFileDiffs::ComparedFiles> frmFileDiffs::LoadFilesIntoGrids(const cDiffEngine& engine)
{
    try {
        const ComparedFiles files{engine.LoadedFile(0), engine.LoadedFile(1)};
        for (const auto& file : files) {
            if (!file)
                throw modVantrel::VantrelError(modVantrel::ErrorNumber::Unknown,
                                               QStringLiteral("The engine holds no compared file."));
            if (file->LineCount() >= std::numeric_limits<std::int32_t>::max())
                throw modVantrel::VantrelError(
                    modVantrel::ErrorNumber::Overflow,
                    QStringLiteral("Too many lines to show: %1").arg(FileNameText::FromBytes(file->Path())));
        }
        return files;
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.LoadFilesIntoGrids"));
        return std::nullopt;
    }
}

bool frmFileDiffs::MarkDifferencesInGrids(const ComparedFiles& files, const cDiffEngine& engine)
{
    const std::vector<LineDiff::Hunk>& hunks = engine.Hunks();
    try {
        // Blocks that do not fit leave both panes padded to one length.
        const Alignment::AlignStatus status =
            m_model.Show(files[0], files[1], hunks, {engine.SkippedLines(0), engine.SkippedLines(1)});
        if (status == Alignment::AlignStatus::Ok)
            FindMoves(Options());
        ShowComparisonInGrids();
        if (status == Alignment::AlignStatus::Ok)
            return true;
    } catch (const std::bad_alloc&) {
        // Memory ran out for the rows: say so, and what they need.
        m_model.Clear();
        Tell(CompareMessages::OutOfMemory(*files[0], *files[1], Alignment::RowsNeeded(hunks, files[0]->LineCount())));
        return false;
    } catch (...) {
    }
    Tell(CompareMessages::MarkingFailed(Options().ForceTextCompare));
    return false;
}

void frmFileDiffs::ShowComparisonInGrids()
{
    // The tooltips also say what the comparison ignored.
    QString ignoring = CompareMessages::Ignoring(CompareMessages::Ignored(Options()));
    if (!ignoring.isEmpty())
        ignoring = QStringLiteral("\nCompared ") + ignoring;
    txtFileOne->setToolTip(FileFactsText::Summary(*m_model.File(0)) + ignoring);
    txtFileTwo->setToolTip(FileFactsText::Summary(*m_model.File(1)) + ignoring);
    DescribePathBoxes();
    grdFileOne->SetTextMatrix(0, QString());
    grdFileTwo->SetTextMatrix(0, QString());
    grdFileOne->SetRowsFrom(m_model.Pane(0), std::make_shared<LineFileRowText>(m_model.File(0)));
    grdFileTwo->SetRowsFrom(m_model.Pane(1), std::make_shared<LineFileRowText>(m_model.File(1)));
    ShowFolds();
}
