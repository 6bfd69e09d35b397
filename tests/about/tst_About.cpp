// The About text, and one version for the About box, vantrel-diff and the
// package: the one project() in the top-level CMakeLists.txt names.

#include "about/ProductInfo.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

class tst_About : public QObject {
    Q_OBJECT
private slots:
    void text_data()
    {
        QTest::addColumn<QList<int>>("version");
        QTest::addColumn<QString>("expected");
        const QString rest = QStringLiteral("\r\n\r\nDeveloped by Quellan Software\r\nquellan.example.org\r\n\r\n");
        // Written 1.01.0002 elsewhere: plain numbers, no leading zeros.
        QTest::newRow("1.01.0002") << QList<int>{1, 1, 2} << QStringLiteral("Vantrel v1.1.2") + rest;
        QTest::newRow("large numbers") << QList<int>{0, 10, 300} << QStringLiteral("Vantrel v0.10.300") + rest;
    }

    void text()
    {
        QFETCH(QList<int>, version);
        QFETCH(QString, expected);
        QCOMPARE(ProductInfo::AboutText(version[0], version[1], version[2]), expected);
    }

    void oneVersion()
    {
        QFile lists(qEnvironmentVariable("VANTREL_SOURCE_DIR") + QStringLiteral("/CMakeLists.txt"));
        QVERIFY(lists.open(QIODevice::ReadOnly));
        const QRegularExpressionMatch project =
            QRegularExpression(QStringLiteral(R"(project\(Vantrel\s+VERSION\s+(\d+\.\d+\.\d+))"))
                .match(QString::fromUtf8(lists.readAll()));
        QVERIFY(project.hasMatch());
        const QString version = project.captured(1);
        QVERIFY(ProductInfo::AboutText().startsWith(QStringLiteral("Vantrel v") + version + QStringLiteral("\r\n")));

        QProcess diff;
        diff.start(TestEnvironment::BinDir() + QStringLiteral("vantrel-diff"), {QStringLiteral("--version")});
        QVERIFY(diff.waitForFinished(10000));
        QCOMPARE(diff.exitCode(), 0);
        QCOMPARE(diff.readAllStandardOutput(), QStringLiteral("vantrel-diff %1\n").arg(version).toUtf8());
    }
};

QTEST_GUILESS_MAIN(tst_About)
#include "tst_About.moc"
