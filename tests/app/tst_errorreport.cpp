#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/VantrelError.h"
#include "support/ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <new>

using namespace modVantrel;

namespace {

const QString kAdvice = QStringLiteral(
    "\r\n* If this problem persists, please contact our technical support staff for assistance.\r\n"
    "  (Refer to the Troubleshooting section of the Help file for details.)");

// Reports a failure of the given kind the way a trapping procedure does.
template <typename Failure>
void ReportFailure(const Failure& failure, const QString& source, const QString& more = QString())
{
    try {
        throw failure;
    } catch (...) {
        ReportUnexpectedError(source, more);
    }
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class tst_ErrorReport : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_folder;

private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        gAppFolder = m_folder.path() + QLatin1Char('/');
        QFile::remove(gAppFolder + QStringLiteral("ERR_DETAIL.TXT"));
        SetLastDllError(0);
    }

    void messageShapes_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("lastError");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no external error") << 13 << 0
            << "Error: Type mismatch\r\nSource: frmFileDiffs.GetNextDiff\r\nNo: 13\r\n";
        QTest::newRow("negative number") << -2147221504 << 0
            << "Error: Type mismatch\r\nSource: frmFileDiffs.GetNextDiff\r\nNo: -2147221504\r\n";
        QTest::newRow("external error shows its code, not the number") << 13 << ENOENT
            << "DLL Error: No such file or directory\r\nError: Type mismatch\r\nSource: "
               "frmFileDiffs.GetNextDiff\r\nNo: 2\r\n";
        QTest::newRow("code the system does not know") << 13 << 987654
            << "DLL Error: Error (987654) not defined.\r\nError: Type mismatch\r\nSource: "
               "frmFileDiffs.GetNextDiff\r\nNo: 987654\r\n";
    }

    void messageShapes()
    {
        QFETCH(int, number);
        QFETCH(int, lastError);
        QFETCH(QString, expected);
        ScriptedPrompts prompts;
        ReportFailure(VantrelError(number, QStringLiteral("Type mismatch"), lastError),
                      QStringLiteral("frmFileDiffs.GetNextDiff"));
        QCOMPARE(prompts.messages.size(), 1);
        const MessagePrompt& shown = prompts.lastMessage();
        QCOMPARE(shown.text, expected + kAdvice);
        QCOMPARE(shown.title, QStringLiteral("Unexpected Error in frmFileDiffs.GetNextDiff"));
        QCOMPARE(shown.icon, PromptIcon::Exclamation);
        QCOMPARE(shown.buttons, PromptButtons::Ok);
        QVERIFY(!QFile::exists(gAppFolder + QStringLiteral("ERR_DETAIL.TXT")));
    }

    void failuresOfOtherKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("numberLine");
        QTest::newRow("out of memory") << 0 << "Error: Out of memory" << "No: 7";
        QTest::newRow("standard exception") << 1 << "Error: vector::at" << "No: 5";
        QTest::newRow("anything else") << 2 << "Error: Unknown error" << "No: 440";
    }

    void failuresOfOtherKinds()
    {
        QFETCH(int, kind);
        QFETCH(QString, firstLine);
        QFETCH(QString, numberLine);
        ScriptedPrompts prompts;
        if (kind == 0)
            ReportFailure(std::bad_alloc(), QStringLiteral("x.y"));
        else if (kind == 1)
            ReportFailure(std::out_of_range("vector::at"), QStringLiteral("x.y"));
        else
            ReportFailure(42, QStringLiteral("x.y"));
        const QStringList lines = prompts.lastMessage().text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.value(0), firstLine);
        QCOMPARE(lines.value(2), numberLine);
    }

    void blankMoreInformationWritesNoLog()
    {
        ScriptedPrompts prompts;
        ReportFailure(VantrelError(5, QStringLiteral("Bad call")), QStringLiteral("a.b"), QStringLiteral("   "));
        QVERIFY(!prompts.lastMessage().text.contains(QStringLiteral("ERR_DETAIL")));
        QVERIFY(!QFile::exists(gAppFolder + QStringLiteral("ERR_DETAIL.TXT")));
    }

    void moreInformationAppendsToLog()
    {
        ScriptedPrompts prompts;
        const QString log = gAppFolder + QStringLiteral("ERR_DETAIL.TXT");
        ReportFailure(VantrelError(5, QStringLiteral("First")), QStringLiteral("a.b"), QStringLiteral(" detail one"));
        const QByteArray afterFirst = ReadAll(log);
        ReportFailure(VantrelError(6, QStringLiteral("Second")), QStringLiteral("c.d"), QStringLiteral("detail two"));
        const QByteArray afterSecond = ReadAll(log);

        QVERIFY(afterSecond.startsWith(afterFirst));  // earlier entries untouched
        const QString second = QString::fromLocal8Bit(afterSecond.mid(afterFirst.size()));
        const QStringList lines = second.split(QStringLiteral("\r\n"));
        // Empty line, date and time, the message, the marker, the text as given.
        QCOMPARE(lines.value(0), QString());
        QVERIFY2(lines.value(1).contains(QRegularExpression(QStringLiteral("\\d"))), qPrintable(lines.value(1)));
        QCOMPARE(lines.mid(2, 6), QStringList({QStringLiteral("Error: Second"), QStringLiteral("Source: c.d"),
                                               QStringLiteral("No: 6"), QString(),
                                               QStringLiteral("- More Information - "),
                                               QStringLiteral("detail two")}));
        QVERIFY(QString::fromLocal8Bit(afterFirst).contains(QStringLiteral("\r\n detail one\r\n")));

        const QString shown = prompts.lastMessage().text;
        QVERIFY(shown.contains(QStringLiteral("No: 6\r\n\r\nSee the ERR_DETAIL.TXT file before proceeding.\r\n\r\n* If")));
    }

    void logThatCannotBeWritten()
    {
        ScriptedPrompts prompts;
        // A folder where the log file should be cannot be opened for appending.
        QVERIFY(QDir(gAppFolder).mkdir(QStringLiteral("ERR_DETAIL.TXT")));
        ReportFailure(VantrelError(5, QStringLiteral("Bad call")), QStringLiteral("a.b"), QStringLiteral("more"));
        QCOMPARE(prompts.messages.size(), 1);
        const MessagePrompt& shown = prompts.lastMessage();
        QCOMPARE(shown.title, QStringLiteral("Error in Error Handler"));
        QCOMPARE(shown.icon, PromptIcon::Exclamation);
        const QStringList lines = shown.text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.value(0), QStringLiteral("An error has occured in the error handler."));
        QCOMPARE(lines.value(1), QString::number(ErrorNumber::PermissionDenied));
        QVERIFY(lines.value(2).contains(QStringLiteral("ERR_DETAIL.TXT")));
        QVERIFY(QFileInfo(gAppFolder + QStringLiteral("ERR_DETAIL.TXT")).isDir());
    }
};

QTEST_GUILESS_MAIN(tst_ErrorReport)
#include "tst_errorreport.moc"
