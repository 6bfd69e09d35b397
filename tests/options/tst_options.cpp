#include "app/Globals.h"
#include "app/Locations.h"
#include "options/modIniFile.h"
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

// The controls the main window hands over, with the values they have before
// the options are read.
struct Form {
    QAction ignoreCase;
    QAction ignoreWhitespace;
    QAction showGridLines;
    QLineEdit fileOne;
    QLineEdit fileTwo;
    QWidget gridOne;
    QWidget gridTwo;
    QCheckBox tooltips;
    bool gridLines = false;

    Form()
    {
        for (QAction* action : {&ignoreCase, &ignoreWhitespace, &showGridLines})
            action->setCheckable(true);
    }

    modIniFile::OptionControls controls()
    {
        return {&ignoreCase, &ignoreWhitespace, &showGridLines, &fileOne, &fileTwo, &gridOne, &gridTwo, &tooltips,
                [this](bool on) { gridLines = on; }};
    }
};

}  // namespace

class tst_Options : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_folder;
    QString iniPath() const { return gAppFolder + modIniFile::IniFileName(); }

    void writeIni(const QByteArray& text)
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray readIni() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        gAppFolder = m_folder.path() + QLatin1Char('/');
        QFile::remove(iniPath());
        gOptions = std::make_unique<cViewFileDiffsOptions>();
        gOptions->IgnoreCase = gOptions->IgnoreWhiteSpace = gOptions->ForceTextCompare = true;
    }

    void defaultsWithoutFile()
    {
        ScriptedPrompts prompts;
        Form form;
        form.fileOne.setText(QStringLiteral("stale"));
        modIniFile::ReadProgramOptionsFromIniFile(form.controls());
        QVERIFY(!gOptions->IgnoreCase && !gOptions->IgnoreWhiteSpace && !gOptions->ForceTextCompare);
        QVERIFY(!form.ignoreCase.isChecked() && !form.ignoreWhitespace.isChecked());
        QVERIFY(form.showGridLines.isChecked() && form.gridLines);
        QCOMPARE(form.fileOne.text(), QString());
        QCOMPARE(form.fileTwo.text(), QString());
        for (QWidget* grid : {&form.gridOne, &form.gridTwo}) {
            QCOMPARE(grid->font().family(), QStringLiteral("Courier New"));
            QCOMPARE(grid->font().pointSizeF(), 8.0);
            QVERIFY(!grid->font().bold() && !grid->font().italic());
        }
        QVERIFY(form.tooltips.isChecked());
        QVERIFY(prompts.messages.isEmpty());
        QVERIFY(!QFile::exists(iniPath()));  // reading creates nothing
    }

    void flags_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("True") << QByteArray("True") << true;
        QTest::newRow("lower case true is false") << QByteArray("true") << false;
        QTest::newRow("upper case") << QByteArray("TRUE") << false;
        QTest::newRow("one") << QByteArray("1") << false;
        QTest::newRow("False") << QByteArray("False") << false;
    }

    void flags()
    {
        QFETCH(QByteArray, stored);
        QFETCH(bool, expected);
        writeIni("[Compare]\nIgnoreCase=" + stored + "\nIgnoreWhiteSpace=" + stored + "\n[Form]\nPaneTooltips="
                 + stored + "\n");
        Form form;
        modIniFile::ReadProgramOptionsFromIniFile(form.controls());
        QCOMPARE(gOptions->IgnoreCase, expected);
        QCOMPARE(form.ignoreCase.isChecked(), expected);
        QCOMPARE(gOptions->IgnoreWhiteSpace, expected);
        QCOMPARE(form.ignoreWhitespace.isChecked(), expected);
        QCOMPARE(form.tooltips.isChecked(), expected);
        modIniFile::SaveProgramOptionsToIniFile(form.controls());
        const QByteArray written = expected ? "True" : "False";
        QVERIFY(readIni().contains("IgnoreCase=" + written + "\n"));
        QVERIFY(readIni().contains("PaneTooltips=" + written + "\n"));
    }

    void fontSizes_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<double>("expected");  // 0: refused
        QTest::newRow("number with trailing text") << QByteArray("12pt") << 12.0;
        QTest::newRow("fraction") << QByteArray("10.5") << 10.5;
        QTest::newRow("comma is no decimal point") << QByteArray("10,5") << 10.0;
        QTest::newRow("exponent not read") << QByteArray("1e99") << 1.0;
        QTest::newRow("negative") << QByteArray("-5") << 0.0;
        QTest::newRow("not a number") << QByteArray("big") << 0.0;
        QTest::newRow("absurdly large") << QByteArray("99999999") << 0.0;
    }

    void fontSizes()
    {
        QFETCH(QByteArray, stored);
        QFETCH(double, expected);
        writeIni("[Grids]\nFontSize=" + stored + "\n[Form]\nPaneTooltips=False\n");
        ScriptedPrompts prompts;
        Form form;
        form.tooltips.setChecked(true);
        const double before = form.gridOne.font().pointSizeF();
        modIniFile::ReadProgramOptionsFromIniFile(form.controls());
        if (expected > 0) {
            QCOMPARE(form.gridOne.font().pointSizeF(), expected);
            QCOMPARE(form.gridTwo.font().pointSizeF(), expected);
            QVERIFY(prompts.messages.isEmpty());
            QVERIFY(!form.tooltips.isChecked());
        } else {
            // Refused: reported, the grids keep their size, and the options
            // after it keep what they had.
            QCOMPARE(prompts.messages.size(), 1);
            QCOMPARE(prompts.lastMessage().title,
                     QStringLiteral("Unexpected Error in modIniFile.ReadProgramOptionsFromIniFile"));
            QCOMPARE(form.gridOne.font().pointSizeF(), before);
            QVERIFY(form.tooltips.isChecked());
        }
    }

    // A font chosen in one run is the font of both grids in the next.
    void fontRoundTrip()
    {
        Form first;
        modIniFile::ReadProgramOptionsFromIniFile(first.controls());
        QFont chosen(QStringLiteral("DejaVu Sans Mono"));
        chosen.setPointSizeF(11.5);
        chosen.setBold(true);
        chosen.setItalic(true);
        first.gridOne.setFont(chosen);
        first.gridTwo.setFont(chosen);
        first.showGridLines.setChecked(false);
        first.fileOne.setText(QStringLiteral("/tmp/a b.txt"));
        first.fileTwo.setText(QString());
        modIniFile::SaveProgramOptionsToIniFile(first.controls());

        Form second;
        second.fileTwo.setText(QStringLiteral("stale"));
        modIniFile::ReadProgramOptionsFromIniFile(second.controls());
        for (QWidget* grid : {&second.gridOne, &second.gridTwo}) {
            QCOMPARE(grid->font().family(), QStringLiteral("DejaVu Sans Mono"));
            QCOMPARE(grid->font().pointSizeF(), 11.5);
            QVERIFY(grid->font().bold() && grid->font().italic());
        }
        QVERIFY(!second.showGridLines.isChecked() && !second.gridLines);
        QCOMPARE(second.fileOne.text(), QStringLiteral("/tmp/a b.txt"));
        QCOMPARE(second.fileTwo.text(), QString());
    }

    // The per-user folder is made at the first save; when it cannot be, the
    // user is told once, not once for every key.
    void saveIntoFolder_data()
    {
        QTest::addColumn<QString>("folder");  // below the test's folder
        QTest::addColumn<bool>("saved");
        QTest::newRow("missing folders are made") << "new/deeper/" << true;
        QTest::newRow("a file where the folder belongs") << "blocker/Vantrel/" << false;
    }

    void saveIntoFolder()
    {
        QFETCH(QString, folder);
        QFETCH(bool, saved);
        QVERIFY(QFile(gAppFolder + QStringLiteral("blocker")).open(QIODevice::WriteOnly));
        gIniFolder = gAppFolder + folder;
        ScriptedPrompts prompts;
        Form form;
        modIniFile::SaveProgramOptionsToIniFile(form.controls());
        const QString ini = gIniFolder + modIniFile::IniFileName();
        gIniFolder.clear();
        QCOMPARE(QFileInfo(ini).isFile(), saved);
        QCOMPARE(prompts.messages.size(), saved ? 0 : 1);
        if (!saved)
            QCOMPARE(prompts.lastMessage().title, QStringLiteral("Unexpected Error in cIniFile.SetStringValue()"));
    }

    // The force-text flag is read at every start but never written, so a
    // hand-made entry survives and a missing one stays missing.
    void forceTextIsNeverWritten()
    {
        writeIni("[Compare]\nForceTextCompare=True\n");
        Form form;
        modIniFile::ReadProgramOptionsFromIniFile(form.controls());
        QVERIFY(gOptions->ForceTextCompare);
        gOptions->ForceTextCompare = false;
        modIniFile::SaveProgramOptionsToIniFile(form.controls());
        QCOMPARE(readIni().count("ForceTextCompare"), 1);
        QVERIFY(readIni().contains("ForceTextCompare=True"));

        QFile::remove(iniPath());
        modIniFile::SaveProgramOptionsToIniFile(form.controls());
        QVERIFY(!readIni().contains("ForceTextCompare"));
        QVERIFY(readIni().startsWith("[Compare]\nIgnoreCase="));
    }
};

QTEST_MAIN(tst_Options)
#include "tst_options.moc"
