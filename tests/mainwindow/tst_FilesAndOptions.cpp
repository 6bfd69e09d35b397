// Choosing files in the window (file dialogs, edits and drops on the path
// boxes discard a shown comparison), the comparison flags and tooltips.

#include "WindowFixture.h"

#include "support/TestEnvironment.h"

#include <QToolTip>

using namespace modVantrel;

class tst_FilesAndOptions : public QObject {
    Q_OBJECT

    WindowFixture w;
    frmFileDiffs* m_form = nullptr;

    bool Shown() const { return m_form->grdFileOne->TextMatrix(0).isEmpty(); }

private slots:
    void initTestCase() { QVERIFY(TestEnvironment::LoadPathLibrary()); }
    void init()
    {
        w.setUp();
        m_form = &w.load(true);
    }
    void cleanup() { w.tearDown(); }

    void selectFile_data()
    {
        QTest::addColumn<int>("which");        // 1 or 2
        QTest::addColumn<bool>("byKey");       // Ctrl+L or Ctrl+R; else toolbar button 1 or 2
        QTest::addColumn<QString>("lastFile"); // "" none, "x" an existing file, "gone" a missing one
        QTest::addColumn<QString>("answer");   // null: cancelled
        QTest::newRow("One, Ctrl+L, last file's folder") << 1 << true << "x" << "/chosen";
        QTest::newRow("Two, Ctrl+R, last file's folder") << 2 << true << "x" << "/chosen";
        QTest::newRow("One, button 1, last file gone") << 1 << false << "gone" << "/chosen";
        QTest::newRow("Two, button 2, no last file") << 2 << false << "" << "/chosen";
        QTest::newRow("One cancelled") << 1 << false << "x" << QString();
        // Choosing the path the box holds changes no text, yet discards.
        QTest::newRow("Two, the same file") << 2 << false << "x" << "/typed";
    }

    void selectFile()
    {
        QFETCH(int, which);
        QFETCH(bool, byKey);
        QFETCH(QString, lastFile);
        QFETCH(QString, answer);
        const QString sub = w.folder->filePath(QStringLiteral("sub"));
        QVERIFY(QDir().mkpath(sub));
        if (lastFile == QLatin1String("x"))
            w.write(QStringLiteral("sub/x"), "x\n");
        (which == 1 ? gOptions->FileOne : gOptions->FileTwo) = lastFile.isEmpty() ? QString() : sub + u'/' + lastFile;
        QLineEdit* box = which == 1 ? m_form->txtFileOne : m_form->txtFileTwo;
        box->setText(QStringLiteral("/typed"));
        ShownComparison::Show(*m_form);
        w.prompts->textAnswers.push_back(answer.isNull() ? std::nullopt : std::optional<QString>(answer));
        if (byKey)
            w.key(which == 1 ? Qt::Key_L : Qt::Key_R, Qt::ControlModifier);
        else
            QTest::mouseClick(m_form->ToolbarButton(which), Qt::LeftButton);
        QCOMPARE(w.prompts->files.size(), 1);
        const FilePrompt& prompt = w.prompts->files.constFirst();
        QCOMPARE(prompt.title, QStringLiteral("Select File %1").arg(which == 1 ? "One" : "Two"));
        QCOMPARE(prompt.folder, lastFile == QLatin1String("x") ? sub + u'/' : QDir::currentPath());
        QCOMPARE(prompt.filter, QStringLiteral("All Files (*)"));
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(box->text(), answer.isNull() ? QStringLiteral("/typed") : answer);
        QCOMPARE(Shown(), answer.isNull());
    }

    void editDiscards_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("how");  // "type", "backspace", "program" (as a drop or a file dialog sets it)
        QTest::addColumn<bool>("shown");
        QTest::newRow("typing in One") << 1 << "type" << true;
        QTest::newRow("Backspace in Two") << 2 << "backspace" << true;
        QTest::newRow("set by the program") << 1 << "program" << true;
        QTest::newRow("typing before any comparison") << 1 << "type" << false;
    }

    void editDiscards()
    {
        QFETCH(int, which);
        QFETCH(QString, how);
        QFETCH(bool, shown);
        QLineEdit* box = which == 1 ? m_form->txtFileOne : m_form->txtFileTwo;
        box->setText(QStringLiteral("/a.txt"));
        if (shown)
            ShownComparison::Show(*m_form);
        const int rows = m_form->grdFileOne->Rows();
        if (how == QLatin1String("type"))
            QTest::keyClicks(box, QStringLiteral("x"));
        else if (how == QLatin1String("backspace"))
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            box->setText(QStringLiteral("/b.txt"));
        QVERIFY(box->text() != QLatin1String("/a.txt"));
        for (const VGrid* grid : {m_form->grdFileOne, m_form->grdFileTwo})
            QCOMPARE(grid->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);
        QCOMPARE(m_form->grdFileOne->Rows(), rows);
        QCOMPARE(m_form->mnuFilePrint->isEnabled(), false);
    }

    // The flags reach the next Compare, not the comparison on display.
    void ignoreFlagsReachNextCompare_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("two");
        QTest::newRow("Ignore Case") << "mnuOptionsIgnoreCase" << QByteArray("Same\nLINE\n");
        QTest::newRow("Ignore Whitespace") << "mnuOptionsIgnoreWhitespace" << QByteArray("same\n line \n");
    }

    void ignoreFlagsReachNextCompare()
    {
        QFETCH(QString, item);
        QFETCH(QByteArray, two);
        auto* action = m_form->findChild<QAction*>(item);
        bool& flag = item.contains(QLatin1String("Case")) ? gOptions->IgnoreCase : gOptions->IgnoreWhiteSpace;
        action->trigger();
        action->trigger();  // twice: as before
        QVERIFY(!action->isChecked() && !flag);
        m_form->txtFileOne->setText(w.write(QStringLiteral("one"), "same\nline\n"));
        m_form->txtFileTwo->setText(w.write(QStringLiteral("two"), two));
        m_form->mnuFileCompare_Click();
        QVERIFY(Shown());
        const QString row = m_form->grdFileTwo->TextMatrix(1);
        action->trigger();
        QVERIFY(action->isChecked() && flag);
        QVERIFY(Shown());
        QCOMPARE(m_form->grdFileTwo->TextMatrix(1), row);
        QVERIFY(w.prompts->messages.isEmpty());
        m_form->mnuFileCompare_Click();
        QCOMPARE(w.prompts->lastMessage().text, QStringLiteral("The files are identical"));
    }

    // Switching tooltips off hides one showing and clears both grids' texts;
    // switched on again, none shows until the pointer moves.
    void uncheckingTooltipsHidesOne()
    {
        ShownComparison::Show(*m_form);
        VGrid* grid = m_form->grdFileTwo;
        QTest::mouseMove(grid->viewport(), QPoint(30, ShownComparison::RowY(grid, 2)));
        QTRY_VERIFY(!grid->ToolTipText().isEmpty());
        QToolTip::showText(grid->viewport()->mapToGlobal(QPoint(30, 30)), grid->ToolTipText(), grid->viewport());
        QTRY_VERIFY(QToolTip::isVisible());
        m_form->chkTooltip->setChecked(false);  // not by a click or key, which would hide the tip by themselves
        QVERIFY(m_form->grdFileOne->ToolTipText().isEmpty() && grid->ToolTipText().isEmpty());
        QTRY_VERIFY(!QToolTip::isVisible());
        m_form->chkTooltip->setChecked(true);
        QVERIFY(grid->ToolTipText().isEmpty());
    }
};

QTEST_MAIN(tst_FilesAndOptions)
#include "tst_FilesAndOptions.moc"
