#include "app/ErrorReport.h"
#include "app/Globals.h"
#include "app/VantrelError.h"
#include "support/FileBytes.h"
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

const QString kAdvice =
    QStringLiteral("\r\n* If this problem persists, please contact our technical support staff for assistance.\r\n"
                   "  (Refer to the Troubleshooting section of the Help file for details.)");

// Reports a failure the way a trapping procedure does: kind 0 the program's
// own I/O error with the given external error code, 1 out of memory, 2 a
// standard exception, 3 anything else.
void Report(int kind, int lastError = 0, const QString& more = QString())
{
    try {
        if (kind == 0)
            throw VantrelError(ErrorNumber::FileIo, QStringLiteral("Device I/O error"), lastError);
        if (kind == 1)
            throw std::bad_alloc();
        if (kind == 2)
            throw std::out_of_range("vector::at");
        throw 42;
    } catch (...) {
        ReportUnexpectedError(QStringLiteral("frmFileDiffs.GetNextDiff"), more);
    }
}

}  // namespace

class tst_ErrorReport : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    QString log() const { return gAppFolder + QStringLiteral("ERR_DETAIL.TXT"); }

private slots:
    void init()
    {
        gAppFolder = m_folder.path() + QLatin1Char('/');
        QFile::remove(log());
        QDir(log()).removeRecursively();
        SetLastDllError(0);
    }

    // A log that cannot be written, whether it cannot be opened or its bytes
    // do not reach the disk, hides neither the failure nor what was meant for
    // it: the report shows both, and why the log refused.
    void messages_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("lastError");
        // What stands in the log's place; empty: nothing, and only blank
        // more information, which writes no log.
        QTest::addColumn<QString>("inItsPlace");
        QTest::addColumn<QString>("expected");  // less the advice that ends every report; @ the log's path
        const auto row = [](const char* name, int kind, int lastError, const char* inItsPlace, const QString& text) {
            QTest::newRow(name) << kind << lastError << QString::fromUtf8(inItsPlace) << text;
        };
        const QString rest = QStringLiteral("Source: frmFileDiffs.GetNextDiff\r\nNo: ");
        const QString io = "Error: Device I/O error\r\n" + rest;
        row("external error shows its code, not the number", 0, ENOENT, "",
            "DLL Error: No such file or directory\r\n" + io + "2\r\n");
        row("code the system does not know", 0, 987654, "",
            "DLL Error: Error (987654) not defined.\r\n" + io + "987654\r\n");
        row("out of memory", 1, 0, "", "Error: Out of memory\r\n" + rest + "7\r\n");
        row("standard exception", 2, 0, "", "Error: vector::at\r\n" + rest + "5\r\n");
        row("anything else", 3, 0, "", "Error: Unknown error\r\n" + rest + "440\r\n");
        const QString unlogged = io + "57\r\n\r\nmore\r\n\r\n(Not added to ERR_DETAIL.TXT: ";
        row("log a folder", 0, 0, "folder", unlogged + "Cannot open @: Is a directory)\r\n");
        row("log on a full disk", 0, 0, "/dev/full", unlogged + "Cannot write @: No space left on device)\r\n");
    }

    void messages()
    {
        QFETCH(int, kind);
        QFETCH(int, lastError);
        QFETCH(QString, inItsPlace);
        QFETCH(QString, expected);
        ScriptedPrompts prompts;
        QVERIFY(inItsPlace.isEmpty()
                || (inItsPlace == "folder" ? QDir(gAppFolder).mkdir(QStringLiteral("ERR_DETAIL.TXT"))
                                           : QFile::link(inItsPlace, log())));
        Report(kind, lastError, inItsPlace.isEmpty() ? QStringLiteral("   ") : QStringLiteral("more"));
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.lastMessage().text, expected.replace(u'@', log()) + kAdvice);
        QCOMPARE(prompts.lastMessage().icon, PromptIcon::Exclamation);
        QCOMPARE(prompts.lastMessage().buttons, PromptButtons::Ok);
        QCOMPARE(QFileInfo::exists(log()), !inItsPlace.isEmpty());
    }

    // More information goes to the end of the log, kept as given, and the
    // message sends the user there.
    void moreInformationAppendsToLog()
    {
        ScriptedPrompts prompts;
        Report(1, 0, QStringLiteral(" detail one"));
        const QByteArray first = FileBytes::Read(log());
        Report(0, 0, QStringLiteral("detail two"));
        const QByteArray both = FileBytes::Read(log());
        QVERIFY(!first.isEmpty() && both.startsWith(first));  // earlier entries untouched
        // Per entry: empty line, date and time, the message, the marker, the text.
        const QStringList lines = QString::fromLocal8Bit(both).split(QStringLiteral("\r\n"));
        const QRegularExpression digit(QStringLiteral("\\d"));
        QVERIFY(lines[1].contains(digit) && lines[9].contains(digit));
        QCOMPARE(
            lines.mid(0, 1) + lines.mid(2, 7) + lines.mid(10),
            QStringList({"", "Error: Out of memory", "Source: frmFileDiffs.GetNextDiff", "No: 7", "",
                         "- More Information - ", " detail one", "", "Error: Device I/O error",
                         "Source: frmFileDiffs.GetNextDiff", "No: 57", "", "- More Information - ", "detail two", ""}));
        QVERIFY(prompts.lastMessage().text.endsWith("No: 57\r\n\r\nSee the ERR_DETAIL.TXT file before proceeding.\r\n"
                                                    + kAdvice));
    }
};

QTEST_GUILESS_MAIN(tst_ErrorReport)
#include "tst_errorreport.moc"
