// Type-ahead completion of folder names and drops on a path box: the
// search of real folders, real key presses on a QLineEdit (which ones start
// a completion, what a proposal looks like, how a newer key cancels a
// running search), and real drop events.

#include "mainwindow/PathBox.h"
#include "mainwindow/PathListing.h"
#include "support/FileBytes.h"

#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

using modAutoCompletePath::FindCompletedPath;

class tst_PathCompletion : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;
    QString m_top;         // m_root's path followed by a separator
    QByteArray m_notUtf8;  // a folder whose name is not UTF-8, which Qt cannot name

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_top = m_root.path() + u'/';
        const QDir root(m_root.path());
        for (const char* folder : {"local", "Library", "nz", "deep/inner", "ra", "wide", "x{y", "\u212Aelvin", "Foo"})
            QVERIFY(root.mkpath(QString::fromUtf8(folder)));
        for (const char* name : {"notes.txt", "Rx.txt", "deep/inner.txt", "foo"})
            QVERIFY(FileBytes::Write(m_top + QString::fromUtf8(name), {}));
        QVERIFY(QFile::link(m_top + QStringLiteral("wide"), m_top + QStringLiteral("linked")));
        QVERIFY(QFile::link(m_top + QStringLiteral("loop"), m_top + QStringLiteral("loop")));
        m_notUtf8 = QFile::encodeName(m_top + QStringLiteral("wide/")) + "ba\xff";
        QVERIFY(::mkdir(m_notUtf8.constData(), 0700) == 0);
        QVERIFY(root.mkpath(QStringLiteral("wide/bz")));
    }
    void cleanupTestCase() { QVERIFY(::rmdir(m_notUtf8.constData()) == 0); }

    // Paths relative to the test folder; "@" stands for it.
    void disk_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("completed");
        QTest::newRow("order ignores case") << "@r" << QString("@ra/");
        QTest::newRow("a file comes first") << "@n" << QString("");
        QTest::newRow("same name but case") << "@f" << QString("@Foo/");
        QTest::newRow("non-ASCII letter folding to the prefix") << "@kE" << QStringLiteral("@\u212Aelvin/");
        QTest::newRow("file in a subfolder") << "@deep/inne" << QString("@deep/inner/");
        QTest::newRow("link to a folder") << "@linke" << QString("@linked/");
        QTest::newRow("link loop") << "@loo" << QString("");
        QTest::newRow("name not UTF-8 passed over") << "@wide/b" << QString("@wide/bz/");
        QTest::newRow("missing folder") << "@gone/x" << QString("");
        QTest::newRow("4096 characters") << QStringLiteral("@%1/a").arg(QString(4096, u'x')) << "";
        QTest::newRow("NUL in the text") << QStringLiteral("@local") + QChar(0) + QStringLiteral("x") << "";
    }

    void disk()
    {
        QFETCH(QString, typed);
        QFETCH(QString, completed);
        const std::atomic<bool> running{false};
        QCOMPARE(FindCompletedPath(typed.replace(u'@', m_top), running), completed.replace(u'@', m_top));
        const std::atomic<bool> cancelled{true};
        QCOMPARE(FindCompletedPath(typed, cancelled), QString());
    }

    // Keys typed into a box that starts with `preset`; "<Ctrl+V>" and the
    // like stand for a key (the clipboard holds "lo").
    void keys_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("shown");  // the text, '|', its selected part
        QTest::newRow("prefix, typed case kept") << "@" << QStringList{"LO"} << QString("@LOcal/|cal/");
        QTest::newRow("whole folder name") << "@" << QStringList{"nz"} << QString("@nz/|/");
        QTest::newRow("typing replaces the proposal") << "@" << QStringList{"lox"} << QString("@lox|");
        QTest::newRow("moving past accepts") << "@" << QStringList{"lo", "<End>", "d"} << QString("@local/d|");
        QTest::newRow("backspace") << "@" << QStringList{"lo", "<Backspace>", "<Backspace>"} << QString("@l|");
        QTest::newRow("paste") << "@" << QStringList{"<Ctrl+V>"} << QString("@lo|");
        QTest::newRow("after a separator") << "@deep" << QStringList{"/"} << QString("@deep/|");
        QTest::newRow("network path") << "/" << QStringList{"/" + m_top.mid(1) + "lo"} << QString("/@lo|");
        QTest::newRow("first character above z") << "@" << QStringList{"x{"} << QString("@x{|");
    }

    void keys()
    {
        QFETCH(QString, preset);
        QFETCH(QStringList, keys);
        QLineEdit line;
        PathBox box(&line);
        line.setText(preset.replace(u'@', m_top));
        QGuiApplication::clipboard()->setText(QStringLiteral("lo"));
        for (const QString& key : keys) {
            if (key.startsWith(u'<') && key.endsWith(u'>'))
                QTest::keySequence(&line, QKeySequence(key.mid(1, key.size() - 2)));
            else
                QTest::keyClicks(&line, key);
            QTRY_VERIFY(!box.AutoCompleteBusy());
        }
        QFETCH(QString, shown);
        QCOMPARE(line.text() + u'|' + line.selectedText(), shown.replace(u'@', m_top));
    }
    // A search that hangs like a dead network mount holds up no key, and a
    // newer key's search is shown while the old one still hangs; the old
    // result, when it comes at last, is dropped.
    void newerKeyCancelsHungSearch()
    {
        QLineEdit line;
        QSemaphore release;
        std::atomic<bool> hanging{false};
        PathBox box(&line, [&](const QString& typed, const std::atomic<bool>&) {
            if (typed == QLatin1String("a")) {
                hanging = true;
                (void)release.tryAcquire(1, 10000);
                hanging = false;
            }
            return typed + QStringLiteral("-done/");
        });
        QTest::keyClick(&line, Qt::Key_A);
        QTRY_VERIFY(hanging);
        QTest::keyClick(&line, Qt::Key_B);
        QCOMPARE(line.text(), QStringLiteral("ab"));
        QTRY_COMPARE(line.text(), QStringLiteral("ab-done/"));
        QCOMPARE(line.selectedText(), QStringLiteral("-done/"));
        QVERIFY(hanging);
        release.release();
        QTRY_VERIFY(!hanging);
        QTest::qWait(50);
        QCOMPARE(line.text(), QStringLiteral("ab-done/"));
    }

    void drops_data()
    {
        QTest::addColumn<QString>("text");  // no text/plain when null
        QTest::addColumn<QStringList>("urls");
        QTest::addColumn<QString>("box");  // "/before" when the drop is refused
        const QString refused = QStringLiteral("/before");
        QTest::newRow("text wins") << "/typed" << QStringList{"file:///x/one.txt"} << "/typed";
        QTest::newRow("first non-blank line") << "\n  \r\n/first line\r\n/second" << QStringList{} << "/first line";
        QTest::newRow("file URL as text")
            << "file:///x/My%20File.txt\nfile:///x/b" << QStringList{} << "/x/My File.txt";
        QTest::newRow("file not valid UTF-8") << QString() << QStringList{"file:///x/a%FF%5Cx41"} << "/x/a\\xFF\\\\x41";
        QTest::newRow("blank text, files: the first")
            << " \n " << QStringList{"file:///x/one.txt", "file:///x/two.txt"} << "/x/one.txt";
        QTest::newRow("sftp text") << "sftp://host/a.txt" << QStringList{} << refused;
        QTest::newRow("web link first") << QString() << QStringList{"http://h/a", "file:///x/one.txt"} << refused;
        QTest::newRow("nothing usable") << QString() << QStringList{} << refused;
        QTest::newRow("not completed") << "@lo" << QStringList{} << "@lo";
    }

    void drops()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, urls);
        QFETCH(QString, box);
        QLineEdit line(QStringLiteral("/before"));
        PathBox pathBox(&line);
        QMimeData data;
        if (!text.isNull())
            data.setText(text.replace(u'@', m_top));
        if (!urls.isEmpty())
            data.setUrls(QUrl::fromStringList(urls));
        data.setData(QStringLiteral("image/png"), "\x89PNG");
        // As the platform delivers a drag entering the box and dropped there.
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&line, &enter);
        QDropEvent drop(QPointF(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&line, &drop);
        QCOMPARE(line.text(), box.replace(u'@', m_top));
        QVERIFY(!pathBox.AutoCompleteBusy());
        // Taken as a copy, so that a box the text was dragged from keeps it.
        QCOMPARE(drop.isAccepted() && drop.dropAction() == Qt::CopyAction, box != QLatin1String("/before"));
    }
};

QTEST_MAIN(tst_PathCompletion)
#include "tst_PathCompletion.moc"
