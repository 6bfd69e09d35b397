#pragma once
// The folder window and the file view together. The file view stays the
// program's main window (its unload keeps the options and ends the
// program); while the folder window is open, closing the file view only
// hides it and goes back to the folder view, and closing the folder view
// ends the program when the file view is not shown or was first shown for
// the folder view.

#include <QObject>
#include <QPointer>
#include <memory>

class frmFileDiffs;
class frmFolderDiffs;

class FolderWindows final : public QObject {
    Q_OBJECT
public:
    explicit FolderWindows(QObject* parent = nullptr);
    ~FolderWindows() override;

    // The file view that pairs are opened in (not owned); the folder window
    // can be opened before it is known.
    void SetFileView(frmFileDiffs* fileView);
    // Opens the folder window (one for the program), with the folders in
    // its boxes, and compares them when asked.
    void Open(const QString& folderOne, const QString& folderTwo, bool compare);
    // Closes the folder window, without ending the program.
    void CloseFolderView();
    [[nodiscard]] frmFolderDiffs* FolderView() const { return m_folderView.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenPair(const QString& one, const QString& two);
    void ShowFileView();
    void FolderViewClosed();

    QPointer<frmFileDiffs> m_fileView;
    std::unique_ptr<frmFolderDiffs> m_folderView;
    bool m_closingFolderView = false;
    // The file view was first shown for the folder view (the program
    // started on two folders).
    bool m_fileViewServes = false;
};
