#pragma once
// The folder comparison window: two path boxes for Folder One and Folder
// Two, the tree of both folders side by side as one tree, and a status line
// with the count of each state and how far the scan has come. The tree is a
// view of a FolderTreeModel that a FolderScanFeed fills while the scan runs
// on threads of its own; the window only routes commands and shows the
// options in force.
//
// A pair of files is opened in the file view through the links the window
// is given; the window knows nothing else of that view.

#include "app/cViewFileDiffsOptions.h"
#include "engine/FolderScan.h"
#include "folderview/FolderScanFeed.h"
#include "folderview/FolderTreeModel.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QTreeView;

class frmFolderDiffs : public QMainWindow {
    Q_OBJECT
public:
    // What the window asks of the rest of the program.
    struct Links {
        // Compares two files in the file view and shows it.
        std::function<void(const QString& one, const QString& two)> openPair;
        // Shows the file view as it is.
        std::function<void()> showFileView;
        // The window changed the ignore options the file view shows too.
        std::function<void()> optionsChanged;
        // Ends the program.
        std::function<void()> exit;
    };

    explicit frmFolderDiffs(Links links, QWidget* parent = nullptr);
    ~frmFolderDiffs() override;

    // Puts the folders into the boxes (the last ones compared where a box
    // would stay empty) and, when asked, compares them.
    void Open(const QString& folderOne, const QString& folderTwo, bool compare);
    [[nodiscard]] const FolderTreeModel& Model() const { return m_model; }
    [[nodiscard]] bool Scanning() const { return m_feed.Running(); }

signals:
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Set-up (frmFolderDiffs.cpp, frmFolderDiffsMenus.cpp).
    void CreateControls();
    void CreateMenus();
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                       void (frmFolderDiffs::*handler)(), bool checkable = false);
    void ShowOptions();

    // The comparison (frmFolderDiffsCompare.cpp).
    void mnuFileCompare_Click();
    void mnuFileRefresh_Click();
    void mnuFileStop_Click();
    [[nodiscard]] bool CheckFolders(QString& one, QString& two);
    void StartScan(const QString& one, const QString& two);
    [[nodiscard]] FolderScanSettings ScanSettings() const;
    void ScanProgressed();
    // The status line tells whether the scan was stopped, from the tree.
    void ScanFinished();
    void ShowCounts();
    void ShowProgress();
    void mnuFileSaveReport_Click();

    // Selection, navigation and opening pairs (frmFolderDiffsNavigation.cpp).
    void mnuFileShowNextDiff_Click();
    void mnuFileShowPreviousDiff_Click();
    void mnuFileShowFirstDiff_Click();
    void mnuFileShowLastDiff_Click();
    void GoToDifference(FolderTree::Id from, bool forward);
    void SelectEntry(FolderTree::Id id);
    [[nodiscard]] FolderTree::Id CurrentEntry() const;
    void tvwFolders_Activated(const QModelIndex& index);
    void OpenPair(FolderTree::Id id);
    void mnuViewShowIdentical_Click();
    void mnuViewExpandAll_Click();
    void mnuViewCollapseAll_Click();
    void mnuViewFileView_Click();
    // What a refresh puts back once the new tree is in: the entry
    // selected, the folders open and the first row shown.
    struct Place {
        QString selected;
        QStringList expanded;
        QString top;
    };
    [[nodiscard]] Place CurrentPlace() const;
    void RestorePlace(const Place& place);

    // Options (frmFolderDiffsOptions.cpp). Each command changes the option
    // record; the comparison flags take effect at the next Compare.
    [[nodiscard]] cViewFileDiffsOptions& Options() const;
    void SetFolderFlag(bool cViewFileDiffsOptions::FolderCompare::*flag, const QAction* item);
    void SetTextFlag(bool cViewFileDiffsOptions::*flag, const QAction* item);
    void mnuOptionsByContent_Click();
    void mnuOptionsBySizeAndTime_Click();
    void mnuOptionsAsText_Click();
    void mnuOptionsIgnoreCase_Click();
    void mnuOptionsIgnoreWhitespace_Click();
    void mnuOptionsIgnoreWhiteSpaceChanges_Click();
    void mnuOptionsIgnoreLineEndings_Click();
    void mnuOptionsIgnoreBlankLines_Click();
    void mnuOptionsLineFilters_Click();
    void mnuOptionsIgnoreNameCase_Click();
    void mnuOptionsHonourGitIgnore_Click();
    void mnuOptionsFollowLinks_Click();
    void mnuOptionsNameFilters_Click();
    void mnuFileSelectFolderOne_Click();
    void mnuFileSelectFolderTwo_Click();
    void SelectFolder(QLineEdit* box, const QString& title);
    void mnuHelpContent_Click();

    Links m_links;
    FolderTreeModel m_model;
    FolderScanFeed m_feed;
    QLineEdit* txtFolderOne = nullptr;
    QLineEdit* txtFolderTwo = nullptr;
    QTreeView* tvwFolders = nullptr;
    QLabel* lblCounts = nullptr;
    QLabel* lblProgress = nullptr;
    QTimer* m_progressTimer = nullptr;
    std::optional<Place> m_refreshPlace;
    // What the comparison shown was made with, for its report.
    FolderScanSettings m_scanned;
    QStringList m_scannedIgnoring;

    QAction* mnuFileCompare = nullptr;
    QAction* mnuFileRefresh = nullptr;
    QAction* mnuFileStop = nullptr;
    QAction* mnuFileOpenPair = nullptr;
    QAction* mnuFileShowNextDiff = nullptr;
    QAction* mnuFileShowPreviousDiff = nullptr;
    QAction* mnuFileSaveReport = nullptr;
    QAction* mnuViewShowIdentical = nullptr;
    QAction* mnuOptionsByContent = nullptr;
    QAction* mnuOptionsBySizeAndTime = nullptr;
    QAction* mnuOptionsAsText = nullptr;
    QAction* mnuOptionsIgnoreCase = nullptr;
    QAction* mnuOptionsIgnoreWhitespace = nullptr;
    QAction* mnuOptionsIgnoreWhiteSpaceChanges = nullptr;
    QAction* mnuOptionsIgnoreLineEndings = nullptr;
    QAction* mnuOptionsIgnoreBlankLines = nullptr;
    QAction* mnuOptionsIgnoreNameCase = nullptr;
    QAction* mnuOptionsHonourGitIgnore = nullptr;
    QAction* mnuOptionsFollowLinks = nullptr;
    bool m_closed = false;
};
