#include "app/Globals.h"
#include "options/modIniFile.h"
#include "support/FileBytes.h"
#include "support/ScriptedPrompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

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

// Every key holding something else than its default.
const QByteArray kAllSet =
    "[Compare]\nIgnoreCase=True\nIgnoreWhiteSpace=True\nIgnoreWhiteSpaceChanges=True\nIgnoreLineEndings=True\n"
    "IgnoreBlankLines=True\nFileOne=/one\nFileTwo=/two\nForceTextCompare=True\n[Grids]\nShowGridLines=False\n"
    "FontBold=True\nFontItalic=True\nFontName=DejaVu Sans Mono\nFontSize=11.5\nShowMovedLines=False\n"
    "HideUnchangedLines=True\nUnchangedContext=10\n[Form]\nPaneTooltips=False\n[Folders]\nFolderOne=/f1\n"
    "FolderTwo=/f2\nCompareBy=SizeAndTime\nCompareAsText=True\nTimeTolerance=5\nIgnoreNameCase=True\n"
    "HonourGitIgnore=True\nFollowLinks=False\nShowIdentical=True\nExcludeFiles=*.x\nExcludeFolders=build\n";

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
    }

    // Every key set, and one key at a time a value to test: after a start
    // and a close the file says what it said, but for that key
    // (ForceTextCompare is read, never written back). Only the exact text
    // "True" is true. A value the record refuses is reported, naming the key
    // and the file, and gives way to its default alone.
    void eachValueAlone_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<bool>("reported");
        const auto row = [](const char* name, const char* key, const QByteArray& stored, const QByteArray& saved,
                            bool reported) { QTest::newRow(name) << QByteArray(key) << stored << saved << reported; };
        for (const char* flag :
             {"IgnoreCase", "IgnoreWhiteSpace", "IgnoreWhiteSpaceChanges", "IgnoreLineEndings", "IgnoreBlankLines",
              "ShowGridLines", "FontBold", "FontItalic", "ShowMovedLines", "HideUnchangedLines", "PaneTooltips",
              "CompareAsText", "IgnoreNameCase", "HonourGitIgnore", "ShowIdentical"})
            row(flag, flag, "yes", "False", false);
        row("flag in lower case", "IgnoreCase", "true", "False", false);
        row("ForceTextCompare", "ForceTextCompare", "yes", "yes", false);
        row("FileOne not UTF-8", "FileOne", "/x/bad\xff\xfe\\x41.txt", "/x/bad\xff\xfe\\x41.txt", false);
        row("FontName empty", "FontName", "", "Courier New", false);
        row("FontSize trailing text", "FontSize", "10,5pt", "10", false);  // no decimal comma
        row("FontSize exponent not read", "FontSize", "1e99", "1", false);
        row("FontSize largest", "FontSize", "1638", "1638", false);
        row("FontSize too large", "FontSize", "1638.5", "8", true);
        row("FontSize small", "FontSize", "0.5", "0.5", false);
        row("FontSize zero", "FontSize", "0", "8", true);
        row("FontSize negative", "FontSize", "-5", "8", true);
        row("FontSize not a number", "FontSize", "big", "8", true);
        row("UnchangedContext none", "UnchangedContext", "0", "0", false);
        row("UnchangedContext largest", "UnchangedContext", "9999", "9999", false);
        row("UnchangedContext too large", "UnchangedContext", "10000", "3", true);
        row("UnchangedContext negative", "UnchangedContext", "-1", "3", true);
        row("UnchangedContext not a number", "UnchangedContext", "3 lines", "3", true);
        row("CompareBy other than SizeAndTime", "CompareBy", "size", "Content", false);
        row("TimeTolerance none", "TimeTolerance", "0", "0", false);
        row("TimeTolerance largest", "TimeTolerance", "86400", "86400", false);
        row("TimeTolerance too large", "TimeTolerance", "86401", "2", true);
        row("TimeTolerance negative", "TimeTolerance", "-1", "2", true);
        row("ExcludeFiles with blanks", "ExcludeFiles", " *.o ; ;a b", "*.o;a b", false);
    }

    void eachValueAlone()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, saved);
        QFETCH(bool, reported);
        const auto withValue = [&](const QByteArray& value) {
            const qsizetype start = kAllSet.indexOf("\n" + key + '=') + 1;
            return kAllSet.left(start) + key + '=' + value + kAllSet.mid(kAllSet.indexOf('\n', start));
        };
        QVERIFY(setIni(withValue(stored)));
        ScriptedPrompts prompts;
        Stored kept;
        kept.read();
        QCOMPARE(kept.options.ForceTextCompare, key != "ForceTextCompare");
        kept.save();
        QCOMPARE(ini(), withValue(saved));
        QCOMPARE(prompts.messages.size(), reported ? 1 : 0);
        if (reported) {
            QCOMPARE(prompts.lastMessage().title,
                     QStringLiteral("Unexpected Error in modIniFile.ReadProgramOptionsFromIniFile"));
            QVERIFY2(prompts.lastMessage().text.contains(key + " in " + iniPath()),
                     qPrintable(prompts.lastMessage().text));
            QVERIFY(FileBytes::Read(gAppFolder + "ERR_DETAIL.TXT").contains(key + '=' + stored + "\r\n"));
        }
    }

    // A save the system refuses half-way (a full disk) leaves the file as
    // it was: never some keys new and others old.
    void failedSaveChangesNothing()
    {
        const QByteArray before = "[Compare]\nIgnoreCase=True\n" + QByteArray(2048, ';') + '\n';
        QVERIFY(setIni(before));
        ScriptedPrompts prompts;
        Stored kept;
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{rlim_t(before.size() + 8), old.rlim_max};  // room for IgnoreCase=False alone
        setrlimit(RLIMIT_FSIZE, &small);
        kept.save();
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(ini(), before);
        QCOMPARE(prompts.messages.size(), 1);
    }

    // Without a file, what was in the record gives way to the defaults, and
    // nothing is written; the save that follows leaves out the force-text flag.
    void defaultsWithoutAFile()
    {
        ScriptedPrompts prompts;
        Stored first;
        QVERIFY(setIni(kAllSet));
        first.read();  // every option off its default
        QVERIFY(QFile::remove(iniPath()));
        first.read();
        QVERIFY(!first.options.ForceTextCompare);
        QVERIFY(!QFile::exists(iniPath()));
        first.save();
        QCOMPARE(ini(),
                 "[Compare]\nIgnoreCase=False\nIgnoreWhiteSpace=False\nIgnoreWhiteSpaceChanges=False\n"
                 "IgnoreLineEndings=False\nIgnoreBlankLines=False\nFileOne=\nFileTwo=\n[Grids]\nShowGridLines=True\n"
                 "FontBold=False\nFontItalic=False\nFontName=Courier New\nFontSize=8\nShowMovedLines=True\n"
                 "HideUnchangedLines=False\nUnchangedContext=3\n[Form]\nPaneTooltips=True\n[Folders]\nFolderOne=\n"
                 "FolderTwo=\nCompareBy=Content\nCompareAsText=False\nTimeTolerance=2\nIgnoreNameCase=False\n"
                 "HonourGitIgnore=False\nFollowLinks=True\nShowIdentical=False\nExcludeFiles=*.o;*.obj;*.pyc;*.class\n"
                 "ExcludeFolders=.git;.hg;.svn;node_modules;__pycache__\n");
        QVERIFY(prompts.messages.isEmpty());
    }

    // The filter list is read up to its first missing or empty entry, each
    // filter on only for "True"; what is read is saved and read back alike,
    // and a shorter list saved over a longer one ends where it should.
    void lineFilters_data()
    {
        using Filters = QList<cViewFileDiffsOptions::LineFilter>;
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<Filters>("expected");
        const QByteArray odd = " a\\x41 \"q\" ";
        QTest::newRow("sound") << "Filter1=\"" + odd + "\"\nFilter1Enabled=True\nFILTER2=^#\nFilter2Enabled=False\n"
                               << Filters{{QString::fromUtf8(odd), true}, {"^#", false}};
        QTest::newRow("enabled not True") << QByteArray("Filter1=a\nFilter1Enabled=yes\n") << Filters{{"a", false}};
        QTest::newRow("second empty") << QByteArray("Filter1=a\nFilter2=\nFilter3=c\n") << Filters{{"a", false}};
        QTest::newRow("first missing") << QByteArray("Filter0=a\nFilter2=b\n") << Filters{};
        QByteArray many;
        Filters manyFilters;
        for (int n = 1; n <= 10000; ++n) {
            many += QStringLiteral("Filter%1=f%1\nFilter%1Enabled=True\n").arg(n).toUtf8();
            manyFilters.append({"f" + QString::number(n), true});
        }
        QTest::newRow("10000") << many << manyFilters;
    }

    void lineFilters()
    {
        QFETCH(QByteArray, section);
        QFETCH(QList<cViewFileDiffsOptions::LineFilter>, expected);
        QVERIFY(setIni("[LineFilters]\n" + section + "[Form]\nFilter1=x\n"));
        Stored stored;
        stored.options.LineFilters = {{"old", true}};
        stored.read();
        QCOMPARE(stored.options.LineFilters, expected);
        stored.options.LineFilters.append({"last", true});
        stored.save();
        Stored again;
        again.read();
        QCOMPARE(again.options.LineFilters, stored.options.LineFilters);
        stored.options.LineFilters = {};
        stored.save();
        again.read();
        QVERIFY(again.options.LineFilters.isEmpty());
    }
};

QTEST_MAIN(tst_Options)
#include "tst_options.moc"
