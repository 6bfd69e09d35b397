// The path library's calls as the program makes them; "$" in an argument
// stands for a folder holding the file "ä b.txt".
#include "app/PathMix.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_PathMix : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(TestEnvironment::LoadPathLibrary());
        QVERIFY(QFile(m_dir.filePath(QStringLiteral("ä b.txt"))).open(QIODevice::WriteOnly));
    }

    void calls_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* call, QStringList arguments, const char* expected) {
            QTest::addRow("%s %s", call, qPrintable(arguments.join(u'|'))) << call << arguments << QString::fromUtf8(expected);
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
    }

    void calls()
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
                                                     : PathMix::StripNull(a[0].toUtf8());
        QCOMPARE(result, expected);
    }
};

QTEST_GUILESS_MAIN(tst_PathMix)
#include "tst_pathmix.moc"
