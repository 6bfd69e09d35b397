// Splitting the command line into the two file names and the program's
// own options, and the path library it uses.
#include "app/CommandLine.h"
#include "app/Globals.h"
#include "app/PathMix.h"
#include "app/VantrelError.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <vector>

using namespace modVantrel;

class tst_CommandLine : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        // A folder without the library leaves its error code behind; loading
        // it then clears the code again.
        QVERIFY(!PathMix::Load(m_dir.path() + u'/'));
        QCOMPARE(LastDllError(), ENOENT);
        QVERIFY(TestEnvironment::LoadPathLibrary());
        QCOMPARE(LastDllError(), 0);
        QVERIFY(QFile(m_dir.filePath(QStringLiteral("ä b.txt"))).open(QIODevice::WriteOnly));
    }

    // The path library's calls as the program makes them, and the path
    // helpers beside them; "$" in an argument stands for a folder holding
    // the file "ä b.txt". The command line splits into File One|File Two:
    // two names, quoted or not, with blanks around them are fuzzed; these
    // are the texts that are not two such names.
    void pathLibrary_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* call, QStringList arguments, const char* expected) {
            QTest::addRow("%s %s", call, qPrintable(arguments.join(u'|')))
                << call << arguments << QString::fromUtf8(expected);
        };
        row("split", {"    "}, "|");
        row("split", {" a.txt "}, "a.txt|");
        row("split", {"\"my a.txt b.txt"}, "my a.txt b.txt|");     // the first quote never closes
        row("split", {"a.txt \"my b  .txt"}, "a.txt|my b  .txt");  // the second never closes
        row("split", {"\"a b\"   "}, "a b|");
        row("split", {"\"\" b"}, "|b");
        row("split", {"a\"b c"}, "a\"b|c");  // a quote directly after a name
        row("split", {"a\tb c"}, "a\tb|c");  // a tab belongs to the name
        row("exists", {"$/ä b.txt"}, "1");
        row("replace", {"\ta\t\tb\t", "\t", "   "}, "   a      b   ");
        row("replace", {"abc", "", "y"}, "abc");
        row("replace", {"aa", "a", "aa"}, "aaaa");
        row("replace", {"ä-ä", "ä", "ö"}, "ö-ö");
        row("normalize", {"/usr/lo"}, "/usr/lo/");
        row("normalize", {"/usr/"}, "/usr/");
        row("normalize", {""}, "/");
        row("last", {"/usr/lo"}, "lo");
        row("last", {"name"}, "name");
        row("slash", {"/a/b", "2"}, "3");
        row("slash", {"/a/b", "4"}, "0");
        row("slash", {"/äö/x", "2"}, "4");  // characters, not bytes
        row("slash", {"a/b", "0"}, "2");
        row("strip", {QStringLiteral("name.txt") + QChar(0) + QStringLiteral("junk")}, "name.txt");
        row("strip", {"whole"}, "whole");
        row("separator", {""}, "");
        row("separator", {"/usr/lib/"}, "/usr/lib/");
        row("folder", {"file.txt"}, "");
        row("folder", {"/usr/lib/x.so"}, "/usr/lib/");
    }

    void pathLibrary()
    {
        QFETCH(QString, call);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const QStringList a = arguments.replaceInStrings(QStringLiteral("$"), m_dir.path());
        ScriptedPrompts prompts;
        QString one = QStringLiteral("stale"), two = QStringLiteral("stale");
        if (call == "split")
            GetFilesFromCommandLine(a[0], one, two);
        const QString result = call == "split"       ? one + u'|' + two
                               : call == "exists"    ? QString::number(PathMix::APIFileExists(a[0]))
                               : call == "replace"   ? PathMix::ReplaceString(a[0], a[1], a[2])
                               : call == "normalize" ? PathMix::NormalizePath(a[0])
                               : call == "last"      ? PathMix::GetLastItemInPath(a[0])
                               : call == "slash"     ? QString::number(PathMix::GetNextSlashPos(a[0], a[1].toShort()))
                               : call == "separator" ? AddTrailingBackslash(a[0])
                               : call == "folder"    ? GetFolderOfPath(a[0])
                                                     : PathMix::StripNull(a[0].toUtf8());
        QCOMPARE(result, expected);
        QVERIFY(prompts.messages.isEmpty());
    }

    // The program's own options among the files, after the program's own
    // name; "W:" starts the complaint of wrong options, "help" and "version"
    // the two that end it at once. The first two files are File One and Two.
    void programOptions_data()
    {
        using L = QStringList;
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("compare");
        const QString needsTwo = QStringLiteral("W:--compare needs two files or folders, FILE1 and FILE2");
        QTest::newRow("files only") << L{"a", "b", "c"} << "" << L{"a", "b", "c"} << false;
        QTest::newRow("--compare, two files") << L{"a", "--compare", "b"} << "" << L{"a", "b"} << true;
        QTest::newRow("--compare, one file") << L{"--compare", "a"} << needsTwo << L{"a"} << true;
        QTest::newRow("--compare, no file") << L{"--compare"} << needsTwo << L{} << true;
        QTest::newRow("a lone - is a file") << L{"-", "-x"} << "W:unknown option '-x'" << L{"-"} << false;
        QTest::newRow("unknown long option")
            << L{"--compare=1", "a", "b"} << "W:unknown option '--compare=1'" << L{} << false;
        QTest::newRow("-- ends the options") << L{"--", "--compare", "-"} << "" << L{"--compare", "-"} << false;
        QTest::newRow("--help, whatever follows") << L{"a", "--help", "--bogus"} << "help" << L{"a"} << false;
        QTest::newRow("--version") << L{"--version"} << "version" << L{} << false;
        QTest::newRow("wrong before --help") << L{"--bogus", "--help"} << "W:unknown option '--bogus'" << L{} << false;
    }

    void programOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, outcome);
        using Action = ProgramOptions::Action;
        QByteArrayList bytes;  // as main() gets them
        std::vector<const char*> argv{"vantrel"};
        for (const QString& argument : arguments)
            argv.push_back(bytes.emplaceBack(argument.toUtf8()).constData());
        const ProgramOptions options = ParseProgramOptions(ArgumentTexts(int(argv.size()), argv.data()));
        const Action expected = outcome.startsWith(QLatin1String("W:")) ? Action::Wrong
                                : outcome == QLatin1String("help")      ? Action::Help
                                : outcome == QLatin1String("version")   ? Action::Version
                                                                        : Action::Open;
        QCOMPARE(options.action, expected);
        QCOMPARE(options.error, expected == Action::Wrong ? outcome.mid(2) : QString());
        QFETCH(QStringList, files);
        QCOMPARE(options.files, files);
        QTEST(options.compare, "compare");
        QString one, two;
        GetFilesFromArguments(options.files, one, two);
        QCOMPARE(QStringList({one, two}), (files + QStringList{"", ""}).mid(0, 2));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
