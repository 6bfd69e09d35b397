// Starts the real program to check the rules of start-up that only a whole
// process shows: one instance per user, and a missing path library.

#include "support/TestEnvironment.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

class Program {
public:
    Program(const QString& executable, const QString& tmpDir)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
        env.insert(QStringLiteral("TMPDIR"), tmpDir);  // where the instance lock lives
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(executable, {});
    }
    ~Program() { kill(); }

    // Waits until the program says text or ends; true when it said it.
    bool waitForOutput(const QString& text, int ms = 15000)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            m_output += m_process.readAllStandardError();
            if (QString::fromLocal8Bit(m_output).contains(text))
                return true;
            if (m_process.state() == QProcess::NotRunning)
                return false;
            m_process.waitForReadyRead(100);
        }
        return false;
    }

    [[nodiscard]] bool runningAfter(int ms)
    {
        return !m_process.waitForFinished(ms) && m_process.state() == QProcess::Running;
    }
    [[nodiscard]] QString output()
    {
        m_output += m_process.readAllStandardError();
        return QString::fromLocal8Bit(m_output);
    }
    void kill()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();  // SIGKILL: leaves its lock behind, as a crash would
            m_process.waitForFinished(5000);
        }
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

const QString kAlreadyRunning = QStringLiteral("Vantrel is already running");

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
        QVERIFY2(second.waitForOutput(kAlreadyRunning), qPrintable(second.output()));
        second.kill();

        // A killed first instance leaves a stale lock that must not block.
        first.kill();
        Program third(exe, tmp.path());
        QVERIFY2(third.runningAfter(2000), qPrintable(third.output()));
        QVERIFY2(!third.output().contains(kAlreadyRunning), qPrintable(third.output()));

        Program fourth(exe, tmp.path());
        QVERIFY2(fourth.waitForOutput(kAlreadyRunning), qPrintable(fourth.output()));
    }

    void missingPathLibrary()
    {
        QTemporaryDir tmp;
        QTemporaryDir programFolder;
        const QString copy = programFolder.filePath(QStringLiteral("vantrel"));
        QVERIFY(QFile::copy(TestEnvironment::BinDir() + QStringLiteral("vantrel"), copy));
        QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner));

        Program program(copy, tmp.path());
        QVERIFY2(program.waitForOutput(QStringLiteral("Error loading DLL - libpathmix.so")),
                 qPrintable(program.output()));
        const QString said = program.output();
        QVERIFY2(said.contains(QStringLiteral("Unexpected Error in modVantrel.Main")), qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("Source: modVantrel.Main")), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
