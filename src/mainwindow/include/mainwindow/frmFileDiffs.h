#pragma once
// The main window: two path boxes, the toolbar, the two result grids with
// the splitter between them, the difference bar and the two-line detail
// pane. The window shows a ComparisonModel, which holds the state of the
// displayed comparison and answers every search; the window's handlers run
// the commands and keep the controls in step with the model.

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
class QToolButton;
class SplitterBar;

class frmFileDiffs : public QMainWindow {
    Q_OBJECT
public:
    explicit frmFileDiffs(QWidget* parent = nullptr);
    ~frmFileDiffs() override;

    // Prepares the window and shows it. A failure is reported and leaves
    // the window hidden.
    void Form_Load();
    // Runs once, when the window closes: the other-products window, the
    // options saved, the application objects released, the program ended.
    void Form_Unload();
    void Form_Resize();

    void LoadToolbarImages();
    void DisableResultCommands();
    void EnableResultCommands();
    void ResetComparisonView();
    void ShowDetailPaneHint();

    // The Compare command and the filling of the aligned grids. Each bool
    // result is the procedure's success flag.
    [[nodiscard]] bool CompareFilesAndStoreResultsInGlobalDiffObject();
    [[nodiscard]] bool DisplayComparisonResultsInGrid();
    using ComparedFiles = std::array<std::shared_ptr<const LineFile>, 2>;
    [[nodiscard]] std::optional<ComparedFiles> LoadFilesIntoGrids(const cDiffEngine& engine);
    [[nodiscard]] bool MarkDifferencesInGrids(const ComparedFiles& files, const std::vector<LineDiff::Hunk>& hunks);
    void RemoveRowsInGrids();
    void ResetDiffCollections();
    // The displayed comparison and the window's search texts.
    [[nodiscard]] const ComparisonModel& Model() const { return m_model; }
    // True while the Compare command runs; commands that would change the
    // grids are refused meanwhile.
    [[nodiscard]] bool CompareRunning() const { return m_compareRunning; }

    // index counts from 1; separators run nothing.
    void Toolbar1_ButtonClick(int index);
    void Splitter_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void Splitter_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
    void Splitter_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

    // True while a long command shows the hourglass pointer.
    [[nodiscard]] bool HourglassShown() const;
    // The toolbar's button at a position (1 to 18); null for separators.
    [[nodiscard]] QToolButton* ToolbarButton(int index) const;
    [[nodiscard]] QAction* ToolbarAction(int index) const;
    // The image-list key of the picture a toolbar position shows; empty for
    // separators.
    [[nodiscard]] QString ToolbarImageKey(int index) const;
    // The image list's keys: image n carries entry n - 1.
    [[nodiscard]] const QStringList& ImageListKeys() const { return imlToolbarIcons; }
    [[nodiscard]] const FormLayout::Places& Places() const { return m_places; }
    [[nodiscard]] const FormLayout::SplitterDrag& SplitterState() const { return m_splitterDrag; }
    [[nodiscard]] modIniFile::OptionControls OptionControls();

    // Menu and toolbar commands.
    void mnuFileSelectFileOne_Click();
    void mnuFileSelectFileTwo_Click();
    void mnuFileCompare_Click();
    void mnuFileShowFirstDiff_Click();
    void mnuFileShowNextDiff_Click();
    void mnuFileShowPreviousDiff_Click();
    void mnuFileShowLastDiff_Click();
    void mnuFileFind_Click();
    void mnuFileFindNext_Click();
    void mnuFileFindPrevious_Click();
    void mnuFileToggleBookmark_Click();
    void mnuFileNextBookmark_Click();
    void mnuFilePreviousBookmark_Click();
    void mnuFileClearAllBookmarks_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();
    void mnuOptionsIgnoreCase_Click();
    void mnuOptionsIgnoreWhitespace_Click();
    void mnuOptionsFont_Click();
    void mnuOptionsShowGridLines_Click();
    void mnuViewFileOneUseNotepad_Click();
    void mnuViewFileOneUseAssociated_Click();
    void mnuViewFileTwoUseNotepad_Click();
    void mnuViewFileTwoUseAssociated_Click();
    void mnuHelpContent_Click();
    void mnuHelpVisitQuellanWeb_Click();
    void mnuHelpContactUs_Click();
    void mnuHelpAbout_Click();

    // The path boxes and the pane-tooltip switch.
    void txtFileOne_Change();
    void txtFileTwo_Change();
    void chkTooltip_Click();

    // Selection, pane synchronisation and the detail pane.
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
    // Run by every command after it has given both grids the same current
    // row: marker, difference-bar mark, detail pane.
    void RefreshSelection();
    void MarkCurrentRow();
    [[nodiscard]] bool IsRowBookmarked(std::int32_t row) const;
    [[nodiscard]] bool SelectedRowIsUnchanged() const;
    [[nodiscard]] bool SelectedLineIsEmpty() const;
    void DisplaySelectedLinesInRTF();
    void DisplaySelectedLinesDiffsInRTF();

    // Difference bar.
    bool DrawDiffBars();
    void MarkCurrentRowInDiffsBar();
    void ScrollFilesToPointInDiffBar(float y);
    void pctDiffsBar_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y);

    // Asks, once, whether to compare again when a compared file changed on
    // disk; Yes runs Compare. Run when the window is active.
    void AskToCompareAgain();
    [[nodiscard]] const FileChangeWatcher& FileWatcher() const { return *m_fileWatcher; }
    // The differing characters the grids mark in changed rows.
    [[nodiscard]] const GridCharacterMarks& GridMarks() const { return *m_gridMarks; }

    // Results of the searches below besides a row.
    static constexpr std::int32_t kNotFound = -1;
    // The window was busy, or the search failed and was reported.
    static constexpr std::int32_t kSearchNotRun = -999;

    // Searches of the next and previous difference commands: a row,
    // kNotFound or kSearchNotRun.
    [[nodiscard]] std::int32_t GetNextDiff();
    [[nodiscard]] std::int32_t GetPreviousDiff();

    // Bookmarks.
    void ToggleBookmark();
    void ClearAllBookmarks();
    [[nodiscard]] std::int32_t GetNextBookmark();
    [[nodiscard]] std::int32_t GetPreviousBookmark();
    void EnableBookmarkCommands();

    // Find. direction is "Next", "Previous" or "Both"; row is written only
    // when found.
    void Find(const QString& text, const QString& direction, std::int32_t& row, bool& found);
    void EnableFindNextPrevious(bool enabled);

    // The header text while no comparison is shown.
    static const QString kSelectFilesPrompt;
    static const QString kDetailPaneHint;

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
    // The row-marker pictures grid one shows.
    QPixmap pctBookmark;
    QPixmap pctBookmarkArrow;
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
    QAction* mnuFileExit = nullptr;
    QAction* mnuOptionsIgnoreCase = nullptr;
    QAction* mnuOptionsIgnoreWhitespace = nullptr;
    QAction* mnuOptionsFont = nullptr;
    QAction* mnuOptionsShowGridLines = nullptr;
    QAction* mnuViewFileOneUseNotepad = nullptr;
    QAction* mnuViewFileOneUseAssociated = nullptr;
    QAction* mnuViewFileTwoUseNotepad = nullptr;
    QAction* mnuViewFileTwoUseAssociated = nullptr;
    QAction* mnuHelpContent = nullptr;
    QAction* mnuHelpVisitQuellanWeb = nullptr;
    QAction* mnuHelpContactUs = nullptr;
    QAction* mnuHelpAbout = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void CreateToolbar();
    void SetTabOrder();
    void SetUpGrid(VGrid* grid);
    void ApplyPlaces();
    void SetSplitterColor(bool dragging);
    [[nodiscard]] bool CheckComparePaths(QString& pathOne, QString& pathTwo);
    bool RunComparison(const QString& pathOne, const QString& pathTwo);
    // The grids take the model's rows; the header cells are emptied.
    void ShowComparisonInGrids();
    void ConnectSelectionHandlers();
    void GridClick(VGrid* grid);
    void GridDblClick();
    void GridMouseDown(Qt::MouseButton button);
    // Makes a row current in the model and in both grids.
    void SetCurrentRow(std::int32_t row);
    void GridMouseMove(VGrid* grid);
    void GoToRow(std::int32_t row);
    void ShowSelectedLines();
    void ShowBookmarkSearchResult(std::int32_t row, const QString& title);
    void ShowFoundRow(std::int32_t row);
    void RepeatFind(const QString& direction);
    void SelectFile(QLineEdit* box, const QString& lastFile, const QString& title, const QString& source);
    void ConnectFileAndOptionHandlers();
    // Drops the proposals the path boxes are still searching for.
    void CancelPathCompletions();
    [[nodiscard]] QPixmap GridOnePicture(int row) const;
    // The marker pictures for the palette's window colour.
    void DrawMarkerPictures();
    using RowSearchMember = std::optional<std::int32_t> (ComparisonModel::*)(std::int32_t) const;
    // A search from grid one's current row: kNotFound when it finds
    // nothing, kSearchNotRun while the hourglass shows or after a failure
    // it reported under the given source text.
    [[nodiscard]] std::int32_t SearchFromCurrentRow(RowSearchMember search, const char* source);

    FormLayout::Places m_places = FormLayout::DesignedPlaces();
    FormLayout::SplitterDrag m_splitterDrag;
    std::array<QAction*, 19> m_toolbarActions{};  // by position; [0] unused
    std::array<QToolButton*, 19> m_toolbarButtons{};
    QStringList imlToolbarIcons;  // image keys; image n is entry n - 1
    bool m_unloaded = false;
    bool m_layoutStateSet = false;  // the layout pass waits for the load
    bool m_compareRunning = false;
    // Form-level layout state.
    std::int16_t LayoutMargin = 0;
    std::uint32_t SplitterDragColor = 0;
    ComparisonModel m_model;
    RowMarkers::Pictures m_markerPictures;
    FileChangeWatcher* m_fileWatcher = nullptr;
    GridCharacterMarks* m_gridMarks = nullptr;
    bool m_askingToCompareAgain = false;
    // Completion and drops of txtFileOne and txtFileTwo; owned by the boxes.
    std::array<PathBox*, 2> m_pathBoxes{};
};
