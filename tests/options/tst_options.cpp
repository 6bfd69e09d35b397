#include "app/Globals.h"
#include "options/modIniFile.h"
#include "support/FileBytes.h"
#include "support/ScriptedPrompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace modVantrel;

namespace {

// What the INI file is read into and written from: the option record and
// the path boxes' texts, as they are before the options are read.
struct Stored {
    cViewFileDiffsOptions options;
    modIniFile::PathTexts paths;

    void read() { modIniFile::ReadProgramOptionsFromIniFile(options, paths); }
    void save() const { modIniFile::SaveProgramOptionsToIniFile(options, paths); }
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
        Stored kept;
        kept.read();
        const cViewFileDiffsOptions& read = kept.options;
        QVERIFY(read.IgnoreCase == expected && read.IgnoreWhiteSpace == expected && read.PaneTooltips == expected);
        kept.save();
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
        Stored kept;
        kept.options.PaneTooltips = true;
        const double before = kept.options.GridFont.pointSizeF();
        kept.read();
        // A refused size is reported, the grids keep theirs and the options
        // after it keep what they had.
        QCOMPARE(kept.options.GridFont.pointSizeF(), expected > 0 ? expected : before);
        QCOMPARE(kept.options.PaneTooltips, expected == 0);
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
        Stored first{{}, {QStringLiteral("stale"), QStringLiteral("stale")}};
        first.options.IgnoreCase = first.options.IgnoreWhiteSpace = first.options.ForceTextCompare = true;
        first.options.ShowGridLines = false;
        first.options.GridFont = QFont(QStringLiteral("Serif"), 20, QFont::Bold, true);
        first.read();
        const cViewFileDiffsOptions& read = first.options;
        QVERIFY(!read.IgnoreCase && !read.IgnoreWhiteSpace && !read.ForceTextCompare);
        QVERIFY(read.ShowGridLines && read.PaneTooltips);
        QVERIFY(first.paths[0].isEmpty() && first.paths[1].isEmpty());
        QCOMPARE(read.GridFont.family(), QStringLiteral("Courier New"));
        QCOMPARE(read.GridFont.pointSizeF(), 8.0);
        QVERIFY(!read.GridFont.bold() && !read.GridFont.italic());
        QVERIFY(!QFile::exists(iniPath()));

        QFont chosen(QStringLiteral("DejaVu Sans Mono"));
        chosen.setPointSizeF(11.5);
        chosen.setBold(true);
        chosen.setItalic(true);
        first.options.GridFont = chosen;
        first.options.ShowGridLines = false;
        first.paths[0] = QString::fromUtf8("/tmp/ä \"b\".txt");
        first.save();
        Stored second{{}, {QString(), QStringLiteral("stale")}};
        second.read();
        QCOMPARE(second.options.GridFont.family(), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(second.options.GridFont.pointSizeF(), 11.5);
        QVERIFY(second.options.GridFont.bold() && second.options.GridFont.italic());
        QVERIFY(!second.options.ShowGridLines);
        QCOMPARE(second.paths, first.paths);
        QVERIFY(prompts.messages.isEmpty());
    }

    // The force-text flag is read at every start but never written: a
    // hand-made entry survives and a missing one stays missing.
    void forceTextIsNeverWritten()
    {
        QVERIFY(setIni("[Compare]\nForceTextCompare=True\n"));
        Stored stored;
        stored.read();
        QVERIFY(stored.options.ForceTextCompare);
        stored.options.ForceTextCompare = false;
        stored.save();
        QCOMPARE(ini().count("ForceTextCompare"), 1);
        QVERIFY(ini().contains("ForceTextCompare=True"));
        QFile::remove(iniPath());
        stored.save();
        QVERIFY(ini().startsWith("[Compare]\nIgnoreCase=") && !ini().contains("ForceTextCompare"));
    }
};

QTEST_MAIN(tst_Options)
#include "tst_options.moc"
