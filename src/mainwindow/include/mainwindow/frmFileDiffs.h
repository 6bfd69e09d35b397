#pragma once
// The main window: two path boxes, the toolbar, the two result grids with
// the splitter between them, the difference bar and the two-line detail
// pane. The window is a view of a ComparisonModel, which holds the shown
// comparison, the current and marked rows, the bookmarks and the search
// texts, and answers every search; the window's handlers run the commands
// and keep the controls in step with the model and with the options.
//
// Other code creates the window, loads it, reads its model and hands it two
// files to compare; everything else is reached as the user reaches it, through the window's actions and
// its controls (found by their object names, which follow the handlers').

#include "compare/ComparisonModel.h"
#include "engine/LineDiff.h"
#include "mainwindow/DiffBarWidget.h"
#include "mainwindow/FormLayout.h"
#include "mainwindow/LineDiffView.h"
#include "mainwindow/RowMarkers.h"
#include "mainwindow/VGrid.h"
#include "options/modIniFile.h"

#include <QMainWindow>
#include <QPixmap>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FileChangeWatcher;
class GridCharacterMarks;
class LineFile;
class PathBox;
class cDiffEngine;
class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QToolBar;
class SplitterBar;

class frmFileDiffs : public QMainWindow {
    Q_OBJECT
public:
    explicit frmFileDiffs(QWidget* parent = nullptr);
    ~frmFileDiffs() override;

    // Prepares the window and shows it. A failure is reported and leaves
    // the window hidden.
    void Form_Load();
    // The displayed comparison and the window's search texts.
    [[nodiscard]] const ComparisonModel& Model() const { return m_model; }
    // The differing characters the grids mark in changed rows.
    [[nodiscard]] const GridCharacterMarks& GridMarks() const { return *m_gridMarks; }
    // The watch on the files of the comparison shown.
    [[nodiscard]] const FileChangeWatcher& FileWatcher() const { return *m_fileWatcher; }
    // Two files named by another window (the folder view), compared as if
    // typed into the path boxes and Compare chosen.
    void ComparePaths(const QString& pathOne, const QString& pathTwo);
    // Shows the option record again, after another window changed it.
    void ShowOptionsInForce();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Set-up, layout and command state (frmFileDiffs.cpp, frmFileDiffsMenus.cpp,
    // frmFileDiffsLayout.cpp).
    void CreateControls();
    void CreateMenus();
    void CreateToolbar();
    void SetTabOrder();
    void SetUpGrid(VGrid* grid);
    void ApplyPlaces();
    void SetSplitterColor(bool dragging);
    // Runs once, when the window closes: the other-products window, the
    // options saved, the application objects released, the program ended.
    void Form_Unload();
    void Form_Resize();
    void LoadToolbarImages();
    void DisableResultCommands();
    void EnableResultCommands();
    void ResetComparisonView();
    void ShowDetailPaneHint();
    // True while a long command shows the hourglass pointer.
    [[nodiscard]] bool HourglassShown() const;
    // The action of a toolbar position (1 to 18); null for separators.
    [[nodiscard]] QAction* ToolbarAction(int index) const;
    // index counts from 1; separators run nothing.
    void Toolbar1_ButtonClick(int index);
    void Splitter_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void Splitter_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
    void Splitter_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

    // The Compare command and the filling of the aligned grids
    // (frmFileDiffsCompare.cpp). Each bool result is the step's success flag.
    void mnuFileCompare_Click();
    [[nodiscard]] bool CheckComparePaths(QString& pathOne, QString& pathTwo);
    bool RunComparison(const QString& pathOne, const QString& pathTwo);
    [[nodiscard]] bool CompareFilesAndStoreResultsInGlobalDiffObject();
    [[nodiscard]] bool DisplayComparisonResultsInGrid();
    using ComparedFiles = std::array<std::shared_ptr<const LineFile>, 2>;
    [[nodiscard]] std::optional<ComparedFiles> LoadFilesIntoGrids(const cDiffEngine& engine);
    [[nodiscard]] bool MarkDifferencesInGrids(const ComparedFiles& files, const cDiffEngine& engine);
    // The grids take the model's rows; the header cells are emptied.
    void ShowComparisonInGrids();
    void RemoveRowsInGrids();
    void ResetDiffCollections();
    // True when the last Compare found two binary files that differ.
    [[nodiscard]] static bool LastCompareWasBinary();

    // Menu commands handed to other parts of the program (frmFileDiffsCommands.cpp).
    void mnuFilePrint_Click();
    void mnuFileSavePatch_Click();
    void mnuFileSaveReport_Click();
    void SaveComparison(const QString& title, const QString& filter,
                        const std::function<QString(const QString&)>& save);
    void mnuFileExit_Click();
    void mnuViewFileOneUseNotepad_Click();
    void mnuViewFileOneUseAssociated_Click();
    void mnuViewFileTwoUseNotepad_Click();
    void mnuViewFileTwoUseAssociated_Click();
    void mnuHelpContent_Click();
    void mnuHelpVisitQuellanWeb_Click();
    void mnuHelpContactUs_Click();
    void mnuHelpAbout_Click();

    // Options (frmFileDiffsOptions.cpp). The record every option is read
    // from, and a changed record made the one in force and shown in the
    // check marks, the grids and the pane-tooltip box.
    [[nodiscard]] const cViewFileDiffsOptions& Options() const;
    void ApplyOptions(const cViewFileDiffsOptions& options);
    // One flag of the options record set from its menu item's check mark.
    void SetOptionFlag(bool cViewFileDiffsOptions::*flag, const QAction* item);
    void mnuOptionsIgnoreCase_Click();
    void mnuOptionsIgnoreWhitespace_Click();
    void mnuOptionsIgnoreWhiteSpaceChanges_Click();
    void mnuOptionsIgnoreLineEndings_Click();
    void mnuOptionsIgnoreBlankLines_Click();
    void mnuOptionsLineFilters_Click();
    void mnuOptionsFont_Click();
    void mnuOptionsShowGridLines_Click();
    void chkTooltip_Click();

    // File selection and the path boxes (frmFileDiffsFiles.cpp).
    void mnuFileSelectFileOne_Click();
    void mnuFileSelectFileTwo_Click();
    void txtFileOne_Change();
    void txtFileTwo_Change();
    void SelectFile(QLineEdit* box, const QString& lastFile, const QString& title, const QString& source);
    void ConnectFileAndOptionHandlers();
    // Drops the proposals the path boxes are still searching for.
    void CancelPathCompletions();

    // Selection, pane synchronisation and the detail pane
    // (frmFileDiffsSelection.cpp, frmFileDiffsDetail.cpp).
    void ConnectSelectionHandlers();
    void grdFileOne_Click();
    void grdFileTwo_Click();
    void grdFileOne_DblClick();
    void grdFileTwo_DblClick();
    void grdFileOne_MouseDown(Qt::MouseButton button);
    void grdFileTwo_MouseDown(Qt::MouseButton button);
    void grdFileOne_MouseMove();
    void grdFileTwo_MouseMove();
    void grdFileOne_Scroll();
    void grdFileTwo_Scroll();
    void GridClick(VGrid* grid);
    void GridDblClick(VGrid* grid);
    void GridMouseDown(Qt::MouseButton button);
    void GridMouseMove(VGrid* grid);
    // Makes a row current in the model and in both grids.
    void SetCurrentRow(std::int32_t row);
    // Run by every command after it has made a row current: marker,
    // difference-bar mark, detail pane.
    void RefreshSelection();
    void ShowSelectedLines();
    void MarkCurrentRow();
    [[nodiscard]] bool IsRowBookmarked(std::int32_t row) const;
    [[nodiscard]] bool SelectedRowIsUnchanged() const;
    [[nodiscard]] bool SelectedLineIsEmpty() const;
    void DisplaySelectedLinesInRTF();
    void DisplaySelectedLinesDiffsInRTF();
    [[nodiscard]] QPixmap GridOnePicture(int row) const;
    // The marker pictures for the palette's window colour.
    void DrawMarkerPictures();

    // Difference bar and navigation (frmFileDiffsNavigation.cpp).
    void mnuFileShowFirstDiff_Click();
    void mnuFileShowNextDiff_Click();
    void mnuFileShowPreviousDiff_Click();
    void mnuFileShowLastDiff_Click();
    bool DrawDiffBars();
    void MarkCurrentRowInDiffsBar();
    void ScrollFilesToPointInDiffBar(float y);
    void pctDiffsBar_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y);
    void GoToRow(std::int32_t row);
    // Results of the searches below besides a row.
    static constexpr std::int32_t kNotFound = -1;
    // The window was busy, or the search failed and was reported.
    static constexpr std::int32_t kSearchNotRun = -999;
    // Searches of the next and previous difference commands: a row,
    // kNotFound or kSearchNotRun.
    [[nodiscard]] std::int32_t GetNextDiff();
    [[nodiscard]] std::int32_t GetPreviousDiff();
    using RowSearchMember = std::optional<std::int32_t> (ComparisonModel::*)(std::int32_t) const;
    // A search from the current row: kNotFound when it finds nothing,
    // kSearchNotRun while the hourglass shows or after a failure it reported
    // under the given source text.
    [[nodiscard]] std::int32_t SearchFromCurrentRow(RowSearchMember search, const char* source);

    // Bookmarks (frmFileDiffsBookmarks.cpp).
    void mnuFileToggleBookmark_Click();
    void mnuFileNextBookmark_Click();
    void mnuFilePreviousBookmark_Click();
    void mnuFileClearAllBookmarks_Click();
    void ToggleBookmark();
    void ClearAllBookmarks();
    [[nodiscard]] std::int32_t GetNextBookmark();
    [[nodiscard]] std::int32_t GetPreviousBookmark();
    void EnableBookmarkCommands();
    void ShowBookmarkSearchResult(std::int32_t row, const QString& title);

    // Find (frmFileDiffsFind.cpp). direction is "Next", "Previous" or
    // "Both"; row is written only when found.
    void mnuFileFind_Click();
    void mnuFileFindNext_Click();
    void mnuFileFindPrevious_Click();
    void Find(const QString& text, const QString& direction, std::int32_t& row, bool& found);
    void EnableFindNextPrevious(bool enabled);
    void RepeatFind(const QString& direction);
    void ShowFoundRow(std::int32_t row, const QString& text);

    // Hide Unchanged Lines (frmFileDiffsFolding.cpp): the View menu's
    // check item and context sizes, and opening a fold.
    void mnuViewHideUnchangedLines_Click();
    void SetUnchangedContext(int lines);
    // The model folds as the options say, when that changed; the grids
    // follow.
    void ApplyFolding(const cViewFileDiffsOptions& options);
    // Both grids show the model's folds, grid two scrolled as grid one.
    void ShowFolds();
    // Opens the fold that hides a row; false when none does.
    bool UnfoldRow(std::int32_t row);
    // Enter on a grid's current row.
    void GridActivated(VGrid* grid);

    // Moved lines (frmFileDiffsMoves.cpp): the View menu's check item, the
    // moves shown as the options say, and going to a move's other end.
    void mnuViewShowMovedLines_Click();
    void mnuFileGoToOtherEndOfMove_Click();
    // The model shows the engine's moves, or none, as the options say.
    void FindMoves(const cViewFileDiffsOptions& options);
    // The grids take the model's rows again (after their colours changed),
    // keeping the folds, the current row and the first row shown.
    void ReshowRows();

    // Assistive technology (frmFileDiffsAccessibility.cpp): a name and a
    // description for each control and command; the path boxes described
    // with what their tooltips tell; what the grid's current row announces;
    // the current row told to the difference bar.
    void DescribeControls();
    void DescribePathBoxes();
    void AnnounceRow(VGrid* grid);
    void TellBarPosition();

    // Asks, once, whether to compare again when a compared file changed on
    // disk; Yes runs Compare. Run when the window is active
    // (frmFileDiffsWatch.cpp).
    void AskToCompareAgain();

    // The toolbar positions (the 18 of the designed toolbar, then a
    // separator and Hide Unchanged Lines) and the result commands' states
    // (frmFileDiffsMenus.cpp).
    struct ToolbarEntry;
    struct CommandState;
    static constexpr int kToolbarPositions = 20;
    static const ToolbarEntry kToolbar[kToolbarPositions];
    static const CommandState kCommandStates[19];

    // Controls.
    QWidget* ClientArea;
    QToolBar* Toolbar1;
    QCheckBox* chkTooltip;
    QLineEdit* txtFileOne;
    QLineEdit* txtFileTwo;
    DiffBarFrame* pctContainer;
    DiffBarWidget* pctDiffsBar;
    VGrid* grdFileOne;
    VGrid* grdFileTwo;
    SplitterBar* Splitter;
    std::array<LineDiffView*, 2> rtfLineDiff{};
    // The row-marker pictures grid one shows for the current row.
    QPixmap pctDifferArrow;
    QPixmap pctOrphanArrow;
    QPixmap pctArrow;

    // Menus and their items; a toolbar button shares its item's action.
    QMenu* mnuFile = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuView = nullptr;
    QMenu* mnuViewFileOne = nullptr;
    QMenu* mnuViewFileTwo = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuFileSelectFileOne = nullptr;
    QAction* mnuFileSelectFileTwo = nullptr;
    QAction* mnuFileCompare = nullptr;
    QAction* mnuFileShowFirstDiff = nullptr;
    QAction* mnuFileShowNextDiff = nullptr;
    QAction* mnuFileShowPreviousDiff = nullptr;
    QAction* mnuFileShowLastDiff = nullptr;
    QAction* mnuFileFind = nullptr;
    QAction* mnuFileFindNext = nullptr;
    QAction* mnuFileFindPrevious = nullptr;
    QAction* mnuFileToggleBookmark = nullptr;
    QAction* mnuFileNextBookmark = nullptr;
    QAction* mnuFilePreviousBookmark = nullptr;
    QAction* mnuFileClearAllBookmarks = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileSavePatch = nullptr;
    QAction* mnuFileSaveReport = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuOptionsIgnoreCase = nullptr;
    QAction* mnuOptionsIgnoreWhitespace = nullptr;
    QAction* mnuOptionsIgnoreWhiteSpaceChanges = nullptr;
    QAction* mnuOptionsIgnoreLineEndings = nullptr;
    QAction* mnuOptionsIgnoreBlankLines = nullptr;
    QAction* mnuOptionsLineFilters = nullptr;
    QAction* mnuOptionsFont = nullptr;
    QAction* mnuOptionsShowGridLines = nullptr;
    QAction* mnuViewFileOneUseNotepad = nullptr;
    QAction* mnuViewFileOneUseAssociated = nullptr;
    QAction* mnuViewFileTwoUseNotepad = nullptr;
    QAction* mnuViewFileTwoUseAssociated = nullptr;
    QMenu* mnuViewContext = nullptr;
    QAction* mnuViewHideUnchangedLines = nullptr;
    QAction* mnuViewShowMovedLines = nullptr;
    QAction* mnuFileGoToOtherEndOfMove = nullptr;
    // The context sizes, as RowFolding::kContextSizes lists them.
    std::array<QAction*, 4> mnuViewContextLines{};
    QAction* mnuHelpContent = nullptr;
    QAction* mnuHelpVisitQuellanWeb = nullptr;
    QAction* mnuHelpContactUs = nullptr;
    QAction* mnuHelpAbout = nullptr;

    FormLayout::Places m_places = FormLayout::DesignedPlaces();
    FormLayout::SplitterDrag m_splitterDrag;
    std::array<QAction*, kToolbarPositions + 1> m_toolbarActions{};  // by position; [0] unused
    QStringList imlToolbarIcons;                                     // image keys; image n is entry n - 1
    bool m_unloaded = false;
    bool m_layoutStateSet = false;  // the layout pass waits for the load
    bool m_compareRunning = false;
    // The pane-tooltip box's designed left edge, in pixels.
    static constexpr int kCheckBoxLeft = 8790 / FormLayout::kTwipsPerPixel;
    // Form-level layout state.
    std::int16_t LayoutMargin = 0;
    std::uint32_t SplitterDragColor = 0;
    ComparisonModel m_model;
    RowMarkers::Pictures m_markerPictures;
    FileChangeWatcher* m_fileWatcher = nullptr;
    GridCharacterMarks* m_gridMarks = nullptr;
    bool m_askingToCompareAgain = false;
    // A click that opened a fold is not the first half of a double click.
    bool m_clickOpenedFold = false;
    // Completion and drops of txtFileOne and txtFileTwo; owned by the boxes.
    std::array<PathBox*, 2> m_pathBoxes{};
};
