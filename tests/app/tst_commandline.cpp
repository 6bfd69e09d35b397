#include "app/CommandLine.h"
#include "app/Globals.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

#include <QTest>

using namespace modVantrel;

class tst_CommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(TestEnvironment::LoadPathLibrary()); }

    // Two names, quoted or not, with blanks around them are fuzzed; these are
    // the texts that are not two such names.
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("one");
        QTest::addColumn<QString>("two");
        QTest::newRow("spaces only") << "    " << "" << "";
        QTest::newRow("one name") << " a.txt " << "a.txt" << "";
        QTest::newRow("first quote never closes") << "\"my a.txt b.txt" << "my a.txt b.txt" << "";
        QTest::newRow("second quote never closes") << "a.txt \"my b  .txt" << "a.txt" << "my b  .txt";
        QTest::newRow("quoted first, nothing after") << "\"a b\"   " << "a b" << "";
        QTest::newRow("empty quotes") << "\"\" b" << "" << "b";
        QTest::newRow("quote directly after name") << "a\"b c" << "a\"b" << "c";
        QTest::newRow("tab belongs to the name") << "a\tb c" << "a\tb" << "c";
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

    void pathHelpers_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("withSeparator");
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("bare name") << "file.txt" << "file.txt/" << "";
        QTest::newRow("folder path") << "/usr/lib/x.so" << "/usr/lib/x.so/" << "/usr/lib/";
        QTest::newRow("ends in separator") << "/usr/lib/" << "/usr/lib/" << "/usr/lib/";
    }

    void pathHelpers()
    {
        QFETCH(QString, path);
        QFETCH(QString, withSeparator);
        QFETCH(QString, folder);
        QCOMPARE(AddTrailingBackslash(path), withSeparator);
        QCOMPARE(GetFolderOfPath(path), folder);
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
