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

#include <csignal>
#include <sys/resource.h>

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
        return {&ignoreCase, &ignoreWhitespace, &showGridLines, &fileOne, &fileTwo, &gridOne, &gridTwo, &tooltips,
                [this](bool on) { gridLines = on; }};
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
        QFile::remove(gAppFolder + "ERR_DETAIL.TXT");
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
        QVERIFY(setIni("[Compare]\nIgnoreCase=" + stored + "\nIgnoreWhiteSpace=" + stored + "\n[Form]\nPaneTooltips="
                       + stored + "\n"));
        Form form;
        form.read();
        QVERIFY(gOptions->IgnoreCase == expected && form.ignoreCase.isChecked() == expected);
        QVERIFY(gOptions->IgnoreWhiteSpace == expected && form.ignoreWhitespace.isChecked() == expected);
        QCOMPARE(form.tooltips.isChecked(), expected);
        form.save();
        const QByteArray written = expected ? "True\n" : "False\n";
        QVERIFY(ini().contains("IgnoreCase=" + written) && ini().contains("PaneTooltips=" + written));
    }

    // Every key holding something else than its default, and one key at a
    // time a value to test: after a start and a close the file says what it
    // said, but for that key (ForceTextCompare is never written back). A
    // value the controls refuse is reported, naming the key and the file, and
    // gives way to its default alone.
    void eachValueAlone_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<bool>("reported");
        const auto row = [](const char* name, const char* key, const QByteArray& stored, const QByteArray& saved, bool reported) {
            QTest::newRow(name) << QByteArray(key) << stored << saved << reported;
        };
        for (const char* flag : {"IgnoreCase", "IgnoreWhiteSpace", "ShowGridLines", "FontBold", "FontItalic", "PaneTooltips"})
            row(flag, flag, "yes", "False", false);
        row("ForceTextCompare", "ForceTextCompare", "yes", "yes", false);
        row("FileOne not UTF-8", "FileOne", "/x/bad\xff\xfe\\x41.txt", "/x/bad\xff\xfe\\x41.txt", false);
        row("FileTwo empty", "FileTwo", "", "", false);
        row("FontName empty", "FontName", "", "Courier New", false);
        row("FontSize fraction", "FontSize", "10.5", "10.5", false);
        row("FontSize trailing text", "FontSize", "10,5pt", "10", false);  // no decimal comma
        row("FontSize exponent not read", "FontSize", "1e99", "1", false);
        row("FontSize largest", "FontSize", "1638", "1638", false);
        row("FontSize too large", "FontSize", "1638.5", "8", true);
        row("FontSize small", "FontSize", "0.5", "0.5", false);
        row("FontSize zero", "FontSize", "0", "8", true);
        row("FontSize negative", "FontSize", "-5", "8", true);
        row("FontSize not a number", "FontSize", "big", "8", true);
    }

    void eachValueAlone()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, saved);
        QFETCH(bool, reported);
        const QByteArray allSet = "[Compare]\nIgnoreCase=True\nIgnoreWhiteSpace=True\nFileOne=/one\nFileTwo=/two\n"
                                  "ForceTextCompare=True\n[Grids]\nShowGridLines=False\nFontBold=True\nFontItalic=True\n"
                                  "FontName=DejaVu Sans Mono\nFontSize=11.5\n[Form]\nPaneTooltips=False\n";
        const auto withValue = [&](const QByteArray& value) {
            const qsizetype start = allSet.indexOf("\n" + key + '=') + 1;
            return allSet.left(start) + key + '=' + value + allSet.mid(allSet.indexOf('\n', start));
        };
        QVERIFY(setIni(withValue(stored)));
        ScriptedPrompts prompts;
        Form form;
        form.tooltips.setChecked(true);
        form.read();
        form.save();
        QCOMPARE(ini(), withValue(saved));
        QCOMPARE(prompts.messages.size(), reported ? 1 : 0);
        if (reported) {
            QCOMPARE(prompts.lastMessage().title, QStringLiteral("Unexpected Error in modIniFile.ReadProgramOptionsFromIniFile"));
            QVERIFY2(prompts.lastMessage().text.contains(key + " in " + iniPath()), qPrintable(prompts.lastMessage().text));
            QVERIFY(FileBytes::Read(gAppFolder + "ERR_DETAIL.TXT").contains(key + '=' + stored + "\r\n"));
        }
    }

    // A save the system refuses half-way (a full disk) leaves the file as
    // it was: never some keys new and others old.
    void failedSaveChangesNothing()
    {
        const QByteArray before = "[Compare]\nIgnoreCase=True\n" + QByteArray(2048, ';') + '\n';
        QVERIFY(setIni(before));
        gOptions->IgnoreCase = false;
        ScriptedPrompts prompts;
        Form form;
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{rlim_t(before.size() + 8), old.rlim_max};  // room for IgnoreCase=False alone
        setrlimit(RLIMIT_FSIZE, &small);
        form.save();
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(ini(), before);
        QCOMPARE(prompts.messages.size(), 1);
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
