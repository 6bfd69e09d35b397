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
#include "engine/cDiffEngine.h"
#include "mainwindow/CompareInputGuard.h"
#include "mainwindow/LineFileRowText.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>

#include <algorithm>
#include <limits>

using modVantrel::MsgBox;
using modVantrel::PromptButtons;
using modVantrel::PromptIcon;

namespace {

const QString kCompareTitle = QStringLiteral("Compare Files");
const QString kBinaryMessage = QStringLiteral(
    "The files differ but the differences are not viewable.\r\n"
    "Only differences between text files can be viewed. \r\n\r\n"
    "See the View File Differences topic in the Help file for details.");

// Pending events run once per this many result lines while marking: often
// enough to keep the window responsive, rarely enough to cost nothing.
constexpr qsizetype kResultLinesPerEventPass = 256;

bool ValidComparePath(const QString& path)
{
    return !path.isEmpty() && modVantrel::FileExists(path);
}

// Rows 1 to N show the file's lines in order, then the empty trailing row:
// what the grid holds before the filler rows are known.
Alignment::PaneRows UnalignedRows(const LineFile& file)
{
    const qsizetype count = file.LineCount();
    if (count >= std::numeric_limits<std::int32_t>::max())
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::Overflow,
                                       QStringLiteral("Too many lines to show: %1").arg(QFile::decodeName(QByteArray::fromStdString(file.Path()))));
    Alignment::PaneRows rows;
    rows.line.resize(static_cast<std::size_t>(count) + 1);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
        rows.line[i] = static_cast<std::int32_t>(i);
    rows.line.back() = Alignment::kNoLine;
    rows.color.assign(rows.line.size(), Alignment::kDefaultColor);
    return rows;
}

// The file as the engine read it for the last comparison; read again with
// the same line reader only when the engine does not hold that very path.
std::shared_ptr<const LineFile> LinesOf(int which, const QString& path)
{
    const std::string bytes = QFile::encodeName(path).toStdString();
    if (modVantrel::gDiffEngine) {
        std::shared_ptr<const LineFile> held = modVantrel::gDiffEngine->LoadedFile(which);
        if (held && held->Path() == bytes)
            return held;
    }
    LineFile::LoadResult loaded = LineFile::Load(bytes);
    if (!loaded.file)
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::FileIo, cDiffEngine::DescribeFileError(loaded.error));
    return loaded.file;
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
    bool drawingOff = false;
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
                RunComparison(pathOne, pathTwo);
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
    m_compareRunning = false;
}

// Steps of the command from clearing the grids on, for two valid paths;
// drawing is off and the hourglass shows.
void frmFileDiffs::RunComparison(const QString& pathOne, const QString& pathTwo)
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
    if (CompareFilesAndStoreResultsInGlobalDiffObject() && DisplayComparisonResultsInGrid() && DrawDiffBars()) {
        ShowDetailPaneHint();
        mnuFileShowFirstDiff_Click();
    } else {
        ResetComparisonView();
    }
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
        EnableResultCommands();
        return true;
    } catch (...) {
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.DisplayComparisonResultsInGrid"));
        return false;
    }
}

void frmFileDiffs::ResetDiffCollections()
{
    DiffList.clear();
    BookmarkList.clear();
    MarkedRow = 0;
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
        m_gridFiles = {LinesOf(0, fileOne), LinesOf(1, fileTwo)};
        grdFileOne->SetRowsFrom(UnalignedRows(*m_gridFiles[0]), std::make_shared<LineFileRowText>(m_gridFiles[0]));
        grdFileTwo->SetRowsFrom(UnalignedRows(*m_gridFiles[1]), std::make_shared<LineFileRowText>(m_gridFiles[1]));
        return true;
    } catch (...) {
        m_gridFiles = {};
        modVantrel::ReportUnexpectedError(QStringLiteral("frmFileDiffs.LoadFilesIntoGrids"));
        return false;
    }
}

bool frmFileDiffs::MarkDifferencesInGrids(const cDiffEngine& engine)
{
    try {
        if (!m_gridFiles[0] || !m_gridFiles[1])
            throw modVantrel::VantrelError(modVantrel::ErrorNumber::Unknown, QStringLiteral("No files are loaded."));
        const int count = engine.ResultLineCount();
        const auto lineAt = [&engine](qsizetype index) {
            if (index % kResultLinesPerEventPass == 0)
                QCoreApplication::processEvents();
            // Only command lines (those starting with a digit) are read by
            // the alignment; the copies of changed text need no decoding.
            const QByteArray bytes = engine.ResultLineBytes(static_cast<int>(index));
            const bool command = !bytes.isEmpty() && bytes.front() >= '0' && bytes.front() <= '9';
            return command ? QString::fromLatin1(bytes) : QString();
        };
        Alignment::AlignOutcome outcome =
            Alignment::alignResultLines(count, lineAt, static_cast<std::int32_t>(m_gridFiles[0]->LineCount()),
                                        static_cast<std::int32_t>(m_gridFiles[1]->LineCount()));
        if (!outcome.ok())
            Alignment::padShorterPane(outcome.rows);
        grdFileOne->SetRowsFrom(std::move(outcome.rows.one), std::make_shared<LineFileRowText>(m_gridFiles[0]));
        grdFileTwo->SetRowsFrom(std::move(outcome.rows.two), std::make_shared<LineFileRowText>(m_gridFiles[1]));
        DiffList = std::move(outcome.rows.DiffList);
        if (!outcome.ok()) {
            MsgBox(MarkingFailedMessage(), PromptButtons::Ok, PromptIcon::Critical,
                   QStringLiteral("Show File Differences"));
            return false;
        }
        return true;
    } catch (...) {
        // The grids may have been left with different row counts.
        const int rows = std::max(grdFileOne->Rows(), grdFileTwo->Rows());
        grdFileOne->SetRows(rows);
        grdFileTwo->SetRows(rows);
        MsgBox(MarkingFailedMessage(), PromptButtons::Ok, PromptIcon::Critical, QStringLiteral("Show File Differences"));
        return false;
    }
}
