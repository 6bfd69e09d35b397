// Comparing again when a compared file changes on disk, through real file
// writes, renames and deletes in a temporary folder.
#include "WindowFixture.h"

#include "mainwindow/FileChangeWatcher.h"

#include <cstdio>

using namespace modVantrel;

// File-system notices can be slow to arrive on a busy machine.
constexpr int kPatience = 20000;

class tst_FileWatch : public WindowTest {
    Q_OBJECT

    QString m_paths[2];

    void Write(int file, const QByteArray& bytes)
    {
        m_paths[file] = w.write(QStringLiteral("%1.txt").arg(file), bytes);
    }
    [[nodiscard]] int Questions() const
    {
        return int(std::count_if(w.prompts->messages.cbegin(), w.prompts->messages.cend(),
                                 [](const MessagePrompt& m) { return m.title == QLatin1String("Files Changed"); }));
    }

private slots:
    void init()
    {
        WindowTest::init();
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        Write(0, "a\nb\n");
        Write(1, "a\nc\n");
        w.compare(m_paths[0], m_paths[1]);
        QCOMPARE(w.grid(1)->TextMatrix(2), QStringLiteral(" 2.b"));
    }

    void changes_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("named");  // the file the question names
        QTest::newRow("written in place") << "write" << QString("File One has");
        QTest::newRow("replaced by a rename") << "rename" << QString("File Two has");
        QTest::newRow("deleted") << "delete" << QString("File Two has");
        QTest::newRow("a hundred writes to both") << "storm" << QString("File One and File Two have");
    }

    void changes()
    {
        QFETCH(QString, change);
        QFETCH(QString, named);
        w.prompts->messageAnswers = {PromptAnswer::No};
        if (change == QLatin1String("write"))
            Write(0, "a\nB\n");
        else if (change == QLatin1String("rename")) {
            const QString saved = w.write(QStringLiteral("saved"), "a\nd\n");
            QCOMPARE(std::rename(QFile::encodeName(saved).constData(), QFile::encodeName(m_paths[1]).constData()), 0);
        } else if (change == QLatin1String("delete"))
            QVERIFY(QFile::remove(m_paths[1]));
        else
            for (int i = 0; i < 100; ++i)
                Write(i % 2, QByteArray(i + 1, 'x'));
        QTRY_COMPARE_WITH_TIMEOUT(Questions(), 1, kPatience);
        const MessagePrompt& asked = w.prompts->lastMessage();
        QCOMPARE((std::pair{asked.text.left(named.size()), asked.buttons}), (std::pair{named, PromptButtons::YesNo}));
        // No keeps the old result; nothing is asked again until the next change.
        QTest::qWait(300);
        QCOMPARE((std::pair{Questions(), w.grid(1)->TextMatrix(2)}), (std::pair{1, QStringLiteral(" 2.b")}));
        // The next change, even in place to a file replaced or deleted and
        // written again, is asked about; Yes compares again.
        const int again = change == QLatin1String("rename") || change == QLatin1String("delete") ? 1 : 0;
        Write(again, "a\nc\nnew\n");
        QTRY_COMPARE_WITH_TIMEOUT(Questions(), 2, kPatience);
        QCOMPARE(w.grid(again + 1)->TextMatrix(3), QStringLiteral(" 3.new"));
    }

    // A change seen while the window is not active is asked about when it
    // becomes active again, once.
    void askedOnReturn()
    {
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        Write(0, "changed\n");
        QTRY_VERIFY_WITH_TIMEOUT(!w.form->FileWatcher().ChangedPaths().isEmpty(), kPatience);
        QTest::qWait(100);
        QCOMPARE(Questions(), 0);
        w.form->activateWindow();
        QTRY_COMPARE_WITH_TIMEOUT(Questions(), 1, kPatience);
        w.box(1)->setText(w.box(1)->text() + u' ');  // no comparison shown: none watched
        Write(0, "again\n");
        QTest::qWait(300);
        QCOMPARE(Questions(), 1);
    }
};

QTEST_MAIN(tst_FileWatch)
#include "tst_FileWatch.moc"
#include "moc_WindowFixture.cpp"
