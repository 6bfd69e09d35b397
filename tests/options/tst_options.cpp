#include "app/Globals.h"
#include "options/modIniFile.h"
#include "support/FileBytes.h"
#include "support/ScriptedPrompts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace modVantrel;

namespace {

// The controls the main window hands over, as they are before the options
// are read.
struct Form {
    QAction ignoreCase, ignoreWhitespace, showGridLines;
    QLineEdit fileOne, fileTwo;
    QWidget gridOne, gridTwo;
    QCheckBox tooltips;
    bool gridLines = false;

    modIniFile::OptionControls controls()
    {
        for (QAction* action : {&ignoreCase, &ignoreWhitespace, &showGridLines})
            action->setCheckable(true);
        return {&ignoreCase, &ignoreWhitespace, &showGridLines,
                &fileOne,    &fileTwo,          &gridOne,
                &gridTwo,    &tooltips,         [this](bool on) { gridLines = on; }};
    }
    void read() { modIniFile::ReadProgramOptionsFromIniFile(controls()); }
    void save() { modIniFile::SaveProgramOptionsToIniFile(controls()); }
};

}  // namespace

class tst_Options : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    QString iniPath() const { return gAppFolder + modIniFile::IniFileName(); }
    QByteArray ini() const { return FileBytes::Read(iniPath()); }
    bool setIni(const QByteArray& text) const { return FileBytes::Write(iniPath(), text); }

private slots:
    void init()
    {
        gAppFolder = m_folder.path() + QLatin1Char('/');
        QFile::remove(iniPath());
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gOptions->IgnoreCase = gOptions->IgnoreWhiteSpace = gOptions->ForceTextCompare = true;
    }

    // Only the exact text "True" is true.
    void flags_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("True") << QByteArray("True") << true;
        QTest::newRow("lower case") << QByteArray("true") << false;
        QTest::newRow("one") << QByteArray("1") << false;
    }

    void flags()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, expected);
        QVERIFY(setIni("[Compare]\nIgnoreCase=" + stored + "\nIgnoreWhiteSpace=" + stored
                       + "\n[Form]\nPaneTooltips=" + stored + "\n"));
        Form form;
        form.read();
        QVERIFY(gOptions->IgnoreCase == expected && form.ignoreCase.isChecked() == expected);
        QVERIFY(gOptions->IgnoreWhiteSpace == expected && form.ignoreWhitespace.isChecked() == expected);
        QCOMPARE(form.tooltips.isChecked(), expected);
        form.save();
        const QByteArray written = expected ? "True\n" : "False\n";
        QVERIFY(ini().contains("IgnoreCase=" + written) && ini().contains("PaneTooltips=" + written));
    }

    void fontSizes_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<double>("expected");  // 0: refused
        QTest::newRow("fraction") << QByteArray("10.5") << 10.5;
        QTest::newRow("number with trailing text") << QByteArray("10,5pt") << 10.0;  // no decimal comma
        QTest::newRow("exponent not read") << QByteArray("1e99") << 1.0;
        QTest::newRow("negative") << QByteArray("-5") << 0.0;
        QTest::newRow("not a number") << QByteArray("big") << 0.0;
        QTest::newRow("absurdly large") << QByteArray("99999999") << 0.0;
    }

    void fontSizes()
    {
        QFETCH(QByteArray, stored);
        QFETCH(double, expected);
        QVERIFY(setIni("[Grids]\nFontSize=" + stored + "\n[Form]\nPaneTooltips=False\n"));
        ScriptedPrompts prompts;
        Form form;
        form.tooltips.setChecked(true);
        const double before = form.gridOne.font().pointSizeF();
        form.read();
        // A refused size is reported, the grids keep theirs and the options
        // after it keep what they had.
        QCOMPARE(form.gridOne.font().pointSizeF(), expected > 0 ? expected : before);
        QCOMPARE(form.gridTwo.font().pointSizeF(), expected > 0 ? expected : before);
        QCOMPARE(form.tooltips.isChecked(), expected == 0);
        QCOMPARE(prompts.messages.size(), expected > 0 ? 0 : 1);
        if (expected == 0)
            QCOMPARE(prompts.lastMessage().title,
                     QStringLiteral("Unexpected Error in modIniFile.ReadProgramOptionsFromIniFile"));
    }

    // Without a file: the defaults, and nothing written. What one run then
    // saves is what the next one shows.
    void defaultsThenRoundTrip()
    {
        ScriptedPrompts prompts;
        Form first;
        first.fileOne.setText(QStringLiteral("stale"));
        first.read();
        QVERIFY(!gOptions->IgnoreCase && !gOptions->IgnoreWhiteSpace && !gOptions->ForceTextCompare);
        QVERIFY(!first.ignoreCase.isChecked() && !first.ignoreWhitespace.isChecked());
        QVERIFY(first.showGridLines.isChecked() && first.gridLines && first.tooltips.isChecked());
        QVERIFY(first.fileOne.text().isEmpty() && first.fileTwo.text().isEmpty());
        for (QWidget* grid : {&first.gridOne, &first.gridTwo}) {
            QCOMPARE(grid->font().family(), QStringLiteral("Courier New"));
            QCOMPARE(grid->font().pointSizeF(), 8.0);
            QVERIFY(!grid->font().bold() && !grid->font().italic());
        }
        QVERIFY(!QFile::exists(iniPath()));

        QFont chosen(QStringLiteral("DejaVu Sans Mono"));
        chosen.setPointSizeF(11.5);
        chosen.setBold(true);
        chosen.setItalic(true);
        first.gridOne.setFont(chosen);
        first.gridTwo.setFont(chosen);
        first.showGridLines.setChecked(false);
        first.fileOne.setText(QString::fromUtf8("/tmp/ä \"b\".txt"));
        first.save();
        Form second;
        second.fileTwo.setText(QStringLiteral("stale"));
        second.read();
        for (QWidget* grid : {&second.gridOne, &second.gridTwo}) {
            QCOMPARE(grid->font().family(), QStringLiteral("DejaVu Sans Mono"));
            QCOMPARE(grid->font().pointSizeF(), 11.5);
            QVERIFY(grid->font().bold() && grid->font().italic());
        }
        QVERIFY(!second.showGridLines.isChecked() && !second.gridLines);
        QCOMPARE(second.fileOne.text(), QString::fromUtf8("/tmp/ä \"b\".txt"));
        QCOMPARE(second.fileTwo.text(), QString());
        QVERIFY(prompts.messages.isEmpty());
    }

    // The force-text flag is read at every start but never written: a
    // hand-made entry survives and a missing one stays missing.
    void forceTextIsNeverWritten()
    {
        QVERIFY(setIni("[Compare]\nForceTextCompare=True\n"));
        Form form;
        form.read();
        QVERIFY(gOptions->ForceTextCompare);
        gOptions->ForceTextCompare = false;
        form.save();
        QCOMPARE(ini().count("ForceTextCompare"), 1);
        QVERIFY(ini().contains("ForceTextCompare=True"));
        QFile::remove(iniPath());
        form.save();
        QVERIFY(ini().startsWith("[Compare]\nIgnoreCase=") && !ini().contains("ForceTextCompare"));
    }
};

QTEST_MAIN(tst_Options)
#include "tst_options.moc"
