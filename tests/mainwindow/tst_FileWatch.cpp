// Comparing again when a compared file changes on disk, through real file
// writes, renames and deletes in a temporary folder.
#include "WindowFixture.h"

#include "mainwindow/FileChangeWatcher.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <cstdio>
#include <QLineEdit>

using namespace modVantrel;

// File-system notices can be slow to arrive on a busy machine.
constexpr int kPatience = 20000;

class tst_FileWatch : public QObject {
    Q_OBJECT

    WindowFixture w;
    frmFileDiffs* m_form = nullptr;
    QString m_paths[2];

    void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    [[nodiscard]] int Questions() const
    {
        return int(std::count_if(w.prompts->messages.cbegin(), w.prompts->messages.cend(),
                                 [](const MessagePrompt& m) { return m.title == QLatin1String("Files Changed"); }));
    }

private slots:
    void initTestCase() { QVERIFY(TestEnvironment::LoadPathLibrary()); }
    void init()
    {
        w.setUp();
        m_form = &w.load(true);
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        for (int i = 0; i < 2; ++i) {
            m_paths[i] = w.folder->filePath(i == 0 ? QStringLiteral("one.txt") : QStringLiteral("two.txt"));
            Write(m_paths[i], i == 0 ? "a\nb\n" : "a\nc\n");
        }
        m_form->txtFileOne->setText(m_paths[0]);
        m_form->txtFileTwo->setText(m_paths[1]);
        m_form->mnuFileCompare_Click();
        QCOMPARE(m_form->grdFileOne->TextMatrix(2), QStringLiteral(" 2.b"));
    }
    void cleanup() { w.tearDown(); }

    void changes_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("named");  // the file the question names
        QTest::newRow("written in place") << "write" << "File One has";
        QTest::newRow("replaced by a rename") << "rename" << "File Two has";
        QTest::newRow("deleted") << "delete" << "File Two has";
        QTest::newRow("a hundred writes to both") << "storm" << "File One and File Two have";
    }

    void changes()
    {
        QFETCH(QString, change);
        QFETCH(QString, named);
        w.prompts->messageAnswers = {PromptAnswer::No};
        if (change == QLatin1String("write")) {
            Write(m_paths[0], "a\nB\n");
        } else if (change == QLatin1String("rename")) {
            const QString saved = w.folder->filePath(QStringLiteral("two.txt.new"));
            Write(saved, "a\nd\n");
            QCOMPARE(std::rename(QFile::encodeName(saved).constData(), QFile::encodeName(m_paths[1]).constData()), 0);
        } else if (change == QLatin1String("delete")) {
            QVERIFY(QFile::remove(m_paths[1]));
        } else {
            for (int i = 0; i < 100; ++i)
                Write(m_paths[i % 2], QByteArray(i + 1, 'x'));
        }
        QTRY_COMPARE_WITH_TIMEOUT(Questions(), 1, kPatience);
        QVERIFY(w.prompts->lastMessage().text.startsWith(named));
        QCOMPARE(w.prompts->lastMessage().buttons, PromptButtons::YesNo);
        // No keeps the old result; nothing is asked again until the next change.
        QTest::qWait(300);
        QCOMPARE(Questions(), 1);
        QCOMPARE(m_form->grdFileOne->TextMatrix(2), QStringLiteral(" 2.b"));
        // After a change (a deleted file coming back) the answer Yes compares again.
        const bool deleted = change == QLatin1String("delete");
        Write(m_paths[deleted ? 1 : 0], "a\nc\nnew\n");
        QTRY_COMPARE_WITH_TIMEOUT(Questions(), 2, kPatience);
        QCOMPARE((deleted ? m_form->grdFileTwo : m_form->grdFileOne)->TextMatrix(3), QStringLiteral(" 3.new"));
    }

    // A change seen while the window is not active is asked about when it
    // becomes active again, once.
    void askedOnReturn()
    {
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        Write(m_paths[0], "changed\n");
        QTRY_VERIFY_WITH_TIMEOUT(!m_form->FileWatcher().ChangedPaths().isEmpty(), kPatience);
        QTest::qWait(100);
        QCOMPARE(Questions(), 0);
        m_form->activateWindow();
        QTRY_COMPARE_WITH_TIMEOUT(Questions(), 1, kPatience);
        m_form->ResetComparisonView();
        Write(m_paths[0], "again\n");
        QTest::qWait(300);
        QCOMPARE(Questions(), 1);
    }
};

QTEST_MAIN(tst_FileWatch)
#include "tst_FileWatch.moc"
