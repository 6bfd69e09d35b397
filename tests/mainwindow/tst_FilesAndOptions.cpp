// Choosing files in the window (file dialogs, edits and drops on the path
// boxes discard a shown comparison) and the Options commands.

#include "WindowFixture.h"

#include "support/TestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>

using namespace modVantrel;

class tst_FilesAndOptions : public QObject {
    Q_OBJECT

    WindowFixture w;
    frmFileDiffs* m_form = nullptr;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = w.folder->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    bool Shown() const { return m_form->grdFileOne->TextMatrix(0).isEmpty(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        m_form->activateWindow();
        m_form->grdFileOne->setFocus();
        QTest::keyClick(m_form, key, modifiers);
    }

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
        QTest::addColumn<QString>("route");    // "key", "button"
        QTest::addColumn<QString>("lastFile"); // "" none, "x" an existing file, "gone" a missing one
        QTest::addColumn<bool>("chosen");      // false: cancelled
        QTest::newRow("One, Ctrl+L, last file's folder") << 1 << "key" << "x" << true;
        QTest::newRow("Two, Ctrl+R, last file's folder") << 2 << "key" << "x" << true;
        QTest::newRow("One, button 1, last file gone") << 1 << "button" << "gone" << true;
        QTest::newRow("Two, button 2, no last file") << 2 << "button" << "" << true;
        QTest::newRow("One cancelled") << 1 << "button" << "x" << false;
    }

    void selectFile()
    {
        QFETCH(int, which);
        QFETCH(QString, route);
        QFETCH(QString, lastFile);
        QFETCH(bool, chosen);
        const QString sub = w.folder->filePath(QStringLiteral("sub"));
        QVERIFY(QDir().mkpath(sub));
        const QString last = lastFile.isEmpty() ? QString() : sub + u'/' + lastFile;
        if (lastFile == QLatin1String("x"))
            write(QStringLiteral("sub/x"), "x\n");
        (which == 1 ? gOptions->FileOne : gOptions->FileTwo) = last;
        QLineEdit* box = which == 1 ? m_form->txtFileOne : m_form->txtFileTwo;
        box->setText(QStringLiteral("/typed"));
        ShownComparison::Show(*m_form);
        w.prompts->textAnswers.push_back(chosen ? std::optional<QString>(QStringLiteral("/chosen/file")) : std::nullopt);
        if (route == QLatin1String("key"))
            Key(which == 1 ? Qt::Key_L : Qt::Key_R, Qt::ControlModifier);
        else
            QTest::mouseClick(m_form->ToolbarButton(which), Qt::LeftButton);
        QCOMPARE(w.prompts->files.size(), 1);
        const FilePrompt& prompt = w.prompts->files.constFirst();
        QCOMPARE(prompt.title, which == 1 ? QStringLiteral("Select File One") : QStringLiteral("Select File Two"));
        QCOMPARE(prompt.folder, lastFile == QLatin1String("x") ? sub + u'/' : QDir::currentPath());
        QCOMPARE(prompt.filter, QStringLiteral("All Files (*)"));
        QVERIFY(w.prompts->messages.isEmpty());
        QCOMPARE(box->text(), chosen ? QStringLiteral("/chosen/file") : QStringLiteral("/typed"));
        QCOMPARE(Shown(), !chosen);
    }

    // Choosing the path the box already holds changes no text and still
    // discards the comparison.
    void selectSameFileDiscards()
    {
        m_form->txtFileTwo->setText(QStringLiteral("/same"));
        ShownComparison::Show(*m_form);
        w.prompts->textAnswers.push_back(QStringLiteral("/same"));
        m_form->mnuFileSelectFileTwo_Click();
        QVERIFY(!Shown());
        QCOMPARE(m_form->grdFileTwo->TextMatrix(0), frmFileDiffs::kSelectFilesPrompt);
    }

    void editDiscards_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("how");  // "type", "backspace", "drop", "program"
        QTest::addColumn<bool>("shown");
        QTest::newRow("typing in One") << 1 << "type" << true;
        QTest::newRow("Backspace in Two") << 2 << "backspace" << true;
        QTest::newRow("drop on Two") << 2 << "drop" << true;
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
        else if (how == QLatin1String("drop")) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QStringLiteral("/dropped.txt"))});
            QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(box, &enter);
            QDropEvent drop(QPointF(3, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(box, &drop);
            QCOMPARE(box->text(), QStringLiteral("/dropped.txt"));
        } else
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
        m_form->txtFileOne->setText(write(QStringLiteral("one"), "same\nline\n"));
        m_form->txtFileTwo->setText(write(QStringLiteral("two"), two));
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

    void gridLinesOnBothGrids()
    {
        QVERIFY(m_form->grdFileOne->GridLines() && m_form->grdFileTwo->GridLines());
        for (const bool on : {false, true}) {
            m_form->mnuOptionsShowGridLines->trigger();
            QCOMPARE(m_form->mnuOptionsShowGridLines->isChecked(), on);
            QCOMPARE(m_form->grdFileOne->GridLines(), on);
            QCOMPARE(m_form->grdFileTwo->GridLines(), on);
        }
    }

    void gridFont()
    {
        QFont chosen(QStringLiteral("Liberation Serif"));
        chosen.setPointSizeF(13);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        w.prompts->fontAnswers = {chosen, std::nullopt};
        const QFont detail = m_form->rtfLineDiff[0]->font();
        m_form->mnuOptionsFont->trigger();
        QCOMPARE(w.prompts->fonts.constFirst().title, QStringLiteral("Select Font"));
        QCOMPARE(w.prompts->fonts.constFirst().initial.family(), QStringLiteral("Courier New"));
        for (const VGrid* grid : {m_form->grdFileOne, m_form->grdFileTwo}) {
            QCOMPARE(grid->font().family(), chosen.family());
            QCOMPARE(grid->font().pointSizeF(), 13.0);
            QVERIFY(grid->font().italic() && !grid->font().bold() && !grid->font().underline());
        }
        QCOMPARE(m_form->rtfLineDiff[0]->font(), detail);
        // Offered again; cancelled: nothing changes, nothing is said.
        m_form->mnuOptionsFont_Click();
        QCOMPARE(w.prompts->fonts.at(1).initial, m_form->grdFileOne->font());
        QCOMPARE(m_form->grdFileTwo->font().family(), chosen.family());
        QVERIFY(w.prompts->messages.isEmpty());
    }

    void uncheckingTooltipsHidesOne()
    {
        ShownComparison::Show(*m_form);
        VGrid* grid = m_form->grdFileTwo;
        QTest::mouseMove(grid->viewport(), QPoint(30, ShownComparison::RowY(grid, 2)));
        QTRY_VERIFY(!grid->ToolTipText().isEmpty());
        QToolTip::showText(grid->viewport()->mapToGlobal(QPoint(30, 30)), grid->ToolTipText(), grid->viewport());
        QTRY_VERIFY(QToolTip::isVisible());
        // A click or a key would hide the tip by itself.
        m_form->chkTooltip->setChecked(false);
        QVERIFY(!m_form->chkTooltip->isChecked());
        QVERIFY(m_form->grdFileOne->ToolTipText().isEmpty() && grid->ToolTipText().isEmpty());
        QTRY_VERIFY(!QToolTip::isVisible());
        m_form->chkTooltip->setChecked(true);
        QVERIFY(grid->ToolTipText().isEmpty());  // until the pointer moves again
    }
};

QTEST_MAIN(tst_FilesAndOptions)
#include "tst_FilesAndOptions.moc"
