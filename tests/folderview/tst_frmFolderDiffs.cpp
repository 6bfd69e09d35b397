// The folder window through its actions and keys, with the file view it
// opens pairs in: opening a pair and coming back, F7 across folders, Esc
// during a scan, a refresh that keeps the place, the identical entries
// shown and hidden, and two folders typed into the file view's boxes.

#include "app/FolderComparison.h"
#include "app/Globals.h"
#include "engine/cDiffEngine.h"
#include "folderview/FolderWindows.h"
#include "folderview/frmFolderDiffs.h"
#include "mainwindow/frmFileDiffs.h"
#include "support/FileBytes.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

bool Put(const QString& path, const QByteArray& bytes)
{
    return QDir().mkpath(QFileInfo(path).path()) && FileBytes::Write(path, bytes);
}

}  // namespace

class tst_frmFolderDiffs : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<frmFileDiffs> m_fileView;
    std::unique_ptr<FolderWindows> m_windows;

    QString one() const { return m_dir.filePath("one"); }
    QString two() const { return m_dir.filePath("two"); }
    frmFolderDiffs& window() const { return *m_windows->FolderView(); }
    QTreeView* tree() const { return window().findChild<QTreeView*>("tvwFolders"); }
    void trigger(const char* name) const { window().findChild<QAction*>(QString::fromLatin1(name))->trigger(); }
    // The entry made current, by its path below the roots.
    QString current() const
    {
        const FolderTree::Tree* t = window().Model().Tree();
        return QString::fromStdString(t->PathFromRoot(window().Model().IdOf(tree()->currentIndex())));
    }
    void compared(const QString& a, const QString& b)
    {
        m_windows->Open(a, b, true);
        QTRY_VERIFY(window().Model().Tree() && !window().Scanning());
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(TestEnvironment::LoadPathLibrary());
        modVantrel::gAppFolder = m_dir.path() + u'/';
        modVantrel::gOptions = std::make_unique<cViewFileDiffsOptions>();
        modVantrel::gDiffEngine = std::make_unique<cDiffEngine>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_fileView = std::make_unique<frmFileDiffs>();
        m_fileView->Form_Load();
        m_windows = std::make_unique<FolderWindows>();
        m_windows->SetFileView(m_fileView.get());
        modVantrel::SetFolderComparisonOpener(
            [this](const QString& a, const QString& b, bool compare) { m_windows->Open(a, b, compare); });
        // Three differences in three folders, among identical files.
        for (const char* side : {"one", "two"}) {
            for (int n = 0; n < 40; ++n)
                QVERIFY(Put(m_dir.filePath(QStringLiteral("%1/a/same%2.txt").arg(side).arg(n)), "same\n"));
            QVERIFY(Put(m_dir.filePath(QString("%1/a/b/changed.txt").arg(side)), QByteArray("line\n") + side));
            QVERIFY(Put(m_dir.filePath(QString("%1/c/changed.txt").arg(side)), QByteArray("x ") + side));
        }
        QVERIFY(Put(two() + "/c/new.txt", "new\n"));
    }
    void cleanup()
    {
        modVantrel::SetFolderComparisonOpener({});
        m_windows.reset();
        m_fileView.reset();
        m_prompts.reset();
        modVantrel::gOptions.reset();
        modVantrel::gDiffEngine.reset();
        QDir(one()).removeRecursively();
        QDir(two()).removeRecursively();
    }

    // Enter on a differing pair compares it in the file view; closing the
    // file view comes back to the folder view as it was left.
    void openPairAndComeBack()
    {
        compared(one(), two());
        window().show();
        trigger("mnuFileShowNextDiff");
        QCOMPARE(current(), QStringLiteral("a/b/changed.txt"));
        tree()->verticalScrollBar()->setValue(tree()->verticalScrollBar()->maximum());
        const int scrolled = tree()->verticalScrollBar()->value();
        QTest::keyClick(tree(), Qt::Key_Return);
        QVERIFY(m_fileView->isVisible());
        QVERIFY(m_fileView->Model().Shown());
        QCOMPARE(m_fileView->findChild<QLineEdit*>("txtFileTwo")->text(), two() + "/a/b/changed.txt");
        m_fileView->close();
        QVERIFY(!m_fileView->isVisible());
        QVERIFY(modVantrel::gOptions);  // hidden, not unloaded
        QVERIFY(window().isVisible());
        QCOMPARE(std::pair(current(), tree()->verticalScrollBar()->value()),
                 std::pair(QString("a/b/changed.txt"), scrolled));
    }

    // F7 and Shift+F7 step through the differences of every folder, and
    // say so past the last.
    void nextDifferenceAcrossFolders()
    {
        compared(one(), two());
        QStringList forward;
        for (int step = 0; step < 3; ++step) {
            trigger("mnuFileShowNextDiff");
            forward << current();
        }
        QCOMPARE(forward.join(u' '), QStringLiteral("a/b/changed.txt c/changed.txt c/new.txt"));
        trigger("mnuFileShowNextDiff");
        QCOMPARE(m_prompts->lastMessage().title + u':' + m_prompts->lastMessage().text,
                 QStringLiteral("No more differences:There are no more differences."));
        trigger("mnuFileShowPreviousDiff");
        QCOMPARE(current(), QStringLiteral("c/changed.txt"));
    }

    // Esc stops a scan: what was found stays, and what was not compared
    // is told so.
    void escStopsTheScan()
    {
        for (int n = 0; n < 400; ++n)
            for (const QString& root : {one(), two()})
                QVERIFY(Put(root + QStringLiteral("/many/f%1/x.txt").arg(n), "x\n"));
        m_windows->Open(one(), two(), false);
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        trigger("mnuFileCompare");
        QVERIFY(window().Scanning());
        QTest::keyClick(&window(), Qt::Key_Escape);
        QTRY_VERIFY(!window().Scanning());
        const FolderTree::Tree* stopped = window().Model().Tree();
        QVERIFY(stopped->Stopped());
        QVERIFY(stopped->Size() < 2 * 400 + 50);
        for (FolderTree::Id id = 1; id < stopped->Size(); ++id)
            QVERIFY(stopped->StateOf(id) != FolderTree::State::Pending);
        QVERIFY(window().findChild<QLabel*>("lblProgress")->text().startsWith("Stopped: "));
    }

    // F5 compares again, keeping the entry selected and the first row shown.
    void refreshKeepsThePlace()
    {
        compared(one(), two());
        trigger("mnuViewShowIdentical");
        trigger("mnuFileShowNextDiff");
        trigger("mnuFileShowNextDiff");
        QVERIFY(Put(two() + "/a/same3.txt", "changed\n"));
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        QTest::keyClick(&window(), Qt::Key_F5);
        QTRY_VERIFY(!window().Scanning());
        const FolderTree::Tree* again = window().Model().Tree();
        QCOMPARE(std::tuple(again->Count(FolderTree::State::Different), current()),
                 std::tuple(3u, QString("c/changed.txt")));
    }

    // Identical entries are hidden once the scan is done, and shown again
    // on demand, the entry selected staying selected.
    void showIdentical()
    {
        compared(one(), two());
        const auto rows = [this](const char* folder) {
            const FolderTree::Tree* t = window().Model().Tree();
            return window().Model().rowCount(window().Model().IndexOf(t->Find(folder)));
        };
        QCOMPARE(rows("a"), 1);  // only the folder b, with its changed file
        trigger("mnuFileShowNextDiff");
        trigger("mnuViewShowIdentical");
        QCOMPARE(std::pair(rows("a"), current()), std::pair(41, QString("a/b/changed.txt")));
        QVERIFY(modVantrel::gOptions->Folders.ShowIdentical);
    }

    // The window closed while one of its commands waits for an answer (as
    // the system's request to end does) is still there when it returns.
    void closedWhileItAsks()
    {
        m_prompts->whileMessageShown = [this] {
            m_windows->CloseFolderView();
            QTest::qWait(20);
        };
        m_windows->Open(m_dir.filePath("none"), two(), true);
        QTRY_VERIFY(!m_prompts->messages.isEmpty());
        QCOMPARE(std::pair(m_prompts->lastMessage().text, window().isVisible()),
                 std::pair(QString("Folder One is not an existing folder."), false));
    }

    // Two folders typed into the file view's boxes open the folder view on
    // them, with no word of files that do not exist.
    void fileViewBoxesTakeFolders()
    {
        m_fileView->findChild<QLineEdit*>("txtFileOne")->setText(one());
        m_fileView->findChild<QLineEdit*>("txtFileTwo")->setText(two());
        m_fileView->findChild<QAction*>("mnuFileCompare")->trigger();
        QVERIFY(m_windows->FolderView());
        QTRY_VERIFY(window().Model().Tree() && !window().Scanning());
        QCOMPARE(window().Model().Tree()->Count(FolderTree::State::Different), 2u);
        QVERIFY(m_prompts->messages.isEmpty());
    }
};

QTEST_MAIN(tst_frmFolderDiffs)
#include "tst_frmFolderDiffs.moc"
