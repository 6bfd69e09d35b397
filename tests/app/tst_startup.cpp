// Starts the real program to check the rules of start-up that only a whole
// process shows: one instance per user, and a missing path library.

#include "support/TestEnvironment.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kAlreadyRunning = QStringLiteral("Vantrel is already running");

// The program, offscreen, with its instance lock in tmpDir; killed (as a
// crash would leave its lock behind) when it goes out of scope.
class Program {
public:
    Program(const QString& executable, const QString& tmpDir)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
        env.insert(QStringLiteral("TMPDIR"), tmpDir);
        m_process.setProcessEnvironment(env);
        m_process.start(executable, {});
    }
    ~Program() { kill(); }

    // Waits until the program says text or ends; true when it said it.
    bool says(const QString& text)
    {
        for (QDeadlineTimer deadline(15000); !deadline.hasExpired() && !output().contains(text);)
            if (!m_process.waitForReadyRead(100) && m_process.state() == QProcess::NotRunning)
                return output().contains(text);
        return output().contains(text);
    }
    bool runningAfter(int ms) { return !m_process.waitForFinished(ms) && m_process.state() == QProcess::Running; }
    QString output() { return m_output += QString::fromLocal8Bit(m_process.readAllStandardError()); }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
    QString m_output;
};

}  // namespace

class tst_Startup : public QObject {
    Q_OBJECT
private slots:
    void oneInstancePerUser()
    {
        QTemporaryDir tmp;
        const QString exe = TestEnvironment::BinDir() + QStringLiteral("vantrel");
        QVERIFY(QFile::exists(exe));
        Program first(exe, tmp.path());
        QVERIFY2(first.runningAfter(1500), qPrintable(first.output()));
        Program second(exe, tmp.path());
        QVERIFY2(second.says(kAlreadyRunning), qPrintable(second.output()));
        second.kill();
        // A killed first instance leaves a stale lock that must not block.
        first.kill();
        Program third(exe, tmp.path());
        QVERIFY2(third.runningAfter(2000) && !third.output().contains(kAlreadyRunning), qPrintable(third.output()));
        Program fourth(exe, tmp.path());
        QVERIFY2(fourth.says(kAlreadyRunning), qPrintable(fourth.output()));
    }

    void missingPathLibrary()
    {
        QTemporaryDir tmp, programFolder;
        const QString copy = programFolder.filePath(QStringLiteral("vantrel"));
        QVERIFY(QFile::copy(TestEnvironment::BinDir() + QStringLiteral("vantrel"), copy));
        QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner));
        Program program(copy, tmp.path());
        QVERIFY2(program.says(QStringLiteral("Error loading DLL - libpathmix.so")), qPrintable(program.output()));
        for (const char* text : {"Unexpected Error in modVantrel.Main", "Source: modVantrel.Main"})
            QVERIFY2(program.output().contains(QLatin1String(text)), qPrintable(program.output()));
    }
};

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
