#include "app/PathMix.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_PathMix : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(TestEnvironment::LoadPathLibrary()); }

    void fileExists()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("ä b.txt"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.close();
        QVERIFY(PathMix::APIFileExists(file) != 0);
        QCOMPARE(PathMix::APIFileExists(dir.path()), short(0));  // a folder is not a file
        QCOMPARE(PathMix::APIFileExists(file + QStringLiteral(".missing")), short(0));
        QCOMPARE(PathMix::APIFileExists(QString()), short(0));
    }

    void replace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("with");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tabs") << "\ta\t\tb\t" << "\t" << "   " << "   a      b   ";
        QTest::newRow("no match") << "abc" << "x" << "y" << "abc";
        QTest::newRow("empty find keeps text") << "abc" << "" << "y" << "abc";
        QTest::newRow("replacement contains find") << "aa" << "a" << "aa" << "aaaa";
        QTest::newRow("non-ASCII") << "ä-ä" << "ä" << "ö" << "ö-ö";
    }

    void replace()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, with);
        QFETCH(QString, expected);
        QCOMPARE(PathMix::ReplaceString(text, find, with), expected);
    }

    void pathParts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("normalized");
        QTest::addColumn<QString>("lastItem");
        QTest::newRow("file in folder") << "/usr/lo" << "/usr/lo/" << "lo";
        QTest::newRow("folder") << "/usr/" << "/usr/" << "";
        QTest::newRow("bare") << "name" << "name/" << "name";
        QTest::newRow("empty") << "" << "/" << "";
    }

    void pathParts()
    {
        QFETCH(QString, path);
        QFETCH(QString, normalized);
        QFETCH(QString, lastItem);
        QCOMPARE(PathMix::NormalizePath(path), normalized);
        QCOMPARE(PathMix::GetLastItemInPath(path), lastItem);
    }

    void nextSlash_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::newRow("first") << "/a/b" << 1 << 1;
        QTest::newRow("from two") << "/a/b" << 2 << 3;
        QTest::newRow("none after") << "/a/b" << 4 << 0;
        QTest::newRow("counts characters, not bytes") << "/äö/x" << 2 << 4;
        QTest::newRow("start below one") << "a/b" << 0 << 2;
    }

    void nextSlash()
    {
        QFETCH(QString, path);
        QFETCH(int, start);
        QFETCH(int, expected);
        QCOMPARE(int(PathMix::GetNextSlashPos(path, static_cast<short>(start))), expected);
    }

    void stripNullAndRemaining()
    {
        QByteArray buffer("name.txt", 8);
        buffer.append('\0').append("junk");
        QCOMPARE(PathMix::StripNull(buffer), QStringLiteral("name.txt"));
        QCOMPARE(PathMix::StripNull(QByteArray("whole")), QStringLiteral("whole"));
        QCOMPARE(PathMix::RemainingString(QStringLiteral("\"a b\" c"), QStringLiteral("\"a b\"")), QStringLiteral(" c"));
        QCOMPARE(PathMix::RemainingString(QStringLiteral("abc"), QStringLiteral("x")), QStringLiteral("abc"));
    }
};

QTEST_GUILESS_MAIN(tst_PathMix)
#include "tst_pathmix.moc"
