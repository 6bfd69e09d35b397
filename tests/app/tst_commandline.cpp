// Splitting the command line into the two file names, and the path library
// it uses.
#include "app/CommandLine.h"
#include "app/Globals.h"
#include "app/PathMix.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace modVantrel;

class tst_CommandLine : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(TestEnvironment::LoadPathLibrary());
        QVERIFY(QFile(m_dir.filePath(QStringLiteral("ä b.txt"))).open(QIODevice::WriteOnly));
    }

    // Two names, quoted or not, with blanks around them are fuzzed; these are
    // the texts that are not two such names.
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("one");
        QTest::addColumn<QString>("two");
        QTest::newRow("spaces only") << "    " << QString("") << "";
        QTest::newRow("one name") << " a.txt " << QString("a.txt") << "";
        QTest::newRow("first quote never closes") << "\"my a.txt b.txt" << QString("my a.txt b.txt") << "";
        QTest::newRow("second quote never closes") << "a.txt \"my b  .txt" << QString("a.txt") << "my b  .txt";
        QTest::newRow("quoted first, nothing after") << "\"a b\"   " << QString("a b") << "";
        QTest::newRow("empty quotes") << "\"\" b" << QString("") << "b";
        QTest::newRow("quote directly after name") << "a\"b c" << QString("a\"b") << "c";
        QTest::newRow("tab belongs to the name") << "a\tb c" << QString("a\tb") << "c";
    }

    void split()
    {
        QFETCH(QString, text);
        QFETCH(QString, one);
        QFETCH(QString, two);
        ScriptedPrompts prompts;
        QString fileOne = QStringLiteral("stale"), fileTwo = QStringLiteral("stale");
        GetFilesFromCommandLine(text, fileOne, fileTwo);
        QCOMPARE(fileOne, one);
        QCOMPARE(fileTwo, two);
        QVERIFY(prompts.messages.isEmpty());
    }

    // The path library's calls as the program makes them, and the path
    // helpers beside them; "$" in an argument stands for a folder holding
    // the file "ä b.txt".
    void pathLibrary_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* call, QStringList arguments, const char* expected) {
            QTest::addRow("%s %s", call, qPrintable(arguments.join(u'|')))
                << call << arguments << QString::fromUtf8(expected);
        };
        row("exists", {"$/ä b.txt"}, "1");
        row("exists", {"$"}, "0");  // a folder is not a file
        row("exists", {"$/ä b.txt.missing"}, "0");
        row("exists", {""}, "0");
        row("replace", {"\ta\t\tb\t", "\t", "   "}, "   a      b   ");
        row("replace", {"abc", "", "y"}, "abc");
        row("replace", {"aa", "a", "aa"}, "aaaa");
        row("replace", {"ä-ä", "ä", "ö"}, "ö-ö");
        row("normalize", {"/usr/lo"}, "/usr/lo/");
        row("normalize", {"/usr/"}, "/usr/");
        row("normalize", {""}, "/");
        row("last", {"/usr/lo"}, "lo");
        row("last", {"/usr/"}, "");
        row("last", {"name"}, "name");
        row("slash", {"/a/b", "2"}, "3");
        row("slash", {"/a/b", "4"}, "0");
        row("slash", {"/äö/x", "2"}, "4");  // characters, not bytes
        row("slash", {"a/b", "0"}, "2");
        row("strip", {QStringLiteral("name.txt") + QChar(0) + QStringLiteral("junk")}, "name.txt");
        row("strip", {"whole"}, "whole");
        row("separator", {""}, "");
        row("separator", {"file.txt"}, "file.txt/");
        row("separator", {"/usr/lib/"}, "/usr/lib/");
        row("folder", {""}, "");
        row("folder", {"file.txt"}, "");
        row("folder", {"/usr/lib/x.so"}, "/usr/lib/");
        row("folder", {"/usr/lib/"}, "/usr/lib/");
    }

    void pathLibrary()
    {
        QFETCH(QString, call);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const QStringList a = arguments.replaceInStrings(QStringLiteral("$"), m_dir.path());
        const QString result = call == "exists"      ? QString::number(PathMix::APIFileExists(a[0]))
                               : call == "replace"   ? PathMix::ReplaceString(a[0], a[1], a[2])
                               : call == "normalize" ? PathMix::NormalizePath(a[0])
                               : call == "last"      ? PathMix::GetLastItemInPath(a[0])
                               : call == "slash"     ? QString::number(PathMix::GetNextSlashPos(a[0], a[1].toShort()))
                               : call == "separator" ? AddTrailingBackslash(a[0])
                               : call == "folder"    ? GetFolderOfPath(a[0])
                                                     : PathMix::StripNull(a[0].toUtf8());
        QCOMPARE(result, expected);
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
