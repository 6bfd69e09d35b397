// The installed program: `cmake --install` into a temporary prefix, then
// the installed programs run offscreen under a temporary HOME (without
// XDG_RUNTIME_DIR, so the instance lock lies in the configuration folder).

#include "support/FileBytes.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kAppId = QStringLiteral("org.example.quellan.Vantrel");

const QString kShown = QStringLiteral("main window shown");

// The program, offscreen under the given HOME and further environment
// ("NAME=value"), logging its start-up; killed when it goes out of scope, as
// a crash would end it.
class Program {
public:
    Program(const QString& program, const QStringList& arguments, const QString& home,
            const QStringList& more = QStringList())
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            environment.remove(QString::fromLatin1(name));
        // VANTREL_LOG_PROMPTS: what the program tells the user in message
        // boxes, read below.
        for (const QString& entry :
             QStringList{"HOME=" + home, "VANTREL_LOG_PROMPTS=1", "QT_QPA_PLATFORM=offscreen",
                         "QT_FORCE_STDERR_LOGGING=1", "QT_LOGGING_RULES=vantrel.startup.debug=true"}
                 + more)
            environment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program, arguments);
    }
    ~Program()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // Waits until the program says text or ends; true when it said it.
    bool says(const QString& text)
    {
        for (QDeadlineTimer deadline(30000); !deadline.hasExpired() && !output().contains(text);)
            if (!m_process.waitForReadyRead(100) && m_process.state() == QProcess::NotRunning)
                break;
        return output().contains(text);
    }
    QString output() { return m_output += QString::fromLocal8Bit(m_process.readAll()); }
    // Ends it as the system would (SIGTERM); true when it then ends normally.
    bool terminate()
    {
        m_process.terminate();
        return m_process.waitForFinished(20000) && m_process.exitStatus() == QProcess::NormalExit
               && m_process.exitCode() == 0;
    }

private:
    QProcess m_process;
    QString m_output;
};

// Runs the program until its main window is up, then ends it. Returns what
// it logged, or an empty text when it did not run and end normally.
QString RunUntilShown(const QString& program, const QStringList& arguments, const QString& home)
{
    Program run(program, arguments, home);
    if (run.says(kShown) && run.terminate())
        return run.output();
    qWarning().noquote() << "the program did not run and end normally:\n" << run.output();
    return QString();
}

// The options named on the text's lines that the pattern matches: -c or
// --context, not the "-" of "UTF-16".
QSet<QString> Options(const QString& text, const QString& lines)
{
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])--?[A-Za-z][A-Za-z0-9-]*"));
    QSet<QString> found;
    for (const QRegularExpressionMatch& line :
         QRegularExpression(lines, QRegularExpression::MultilineOption).globalMatch(text))
        for (const QRegularExpressionMatch& match : option.globalMatch(line.captured(1)))
            found.insert(match.captured());
    return found;
}

}  // namespace

class tst_InstalledTree : public QObject {
    Q_OBJECT
    QTemporaryDir m_prefix;

    QString installed(const QString& path) const { return m_prefix.path() + u'/' + path; }

private slots:
    void initTestCase()
    {
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(qEnvironmentVariable("CMAKE_COMMAND"),
                      {QStringLiteral("--install"), qEnvironmentVariable("VANTREL_BUILD_DIR"),
                       QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    }

    // The path library and the help found where installing put them; the
    // options kept across a restart, in the user's folders or beside a
    // portable copy.
    void optionsSurviveRestart_data()
    {
        QTest::addColumn<bool>("portable");
        QTest::newRow("installed") << false;
        QTest::newRow("portable copy") << true;
    }

    void optionsSurviveRestart()
    {
        QFETCH(bool, portable);
        QTemporaryDir home;
        const QString program = installed(QStringLiteral("bin/vantrel"));
        const QString portableIni = installed(QStringLiteral("bin/vantrel.ini"));
        const QString userIni = home.filePath(QStringLiteral(".config/Vantrel/vantrel.ini"));
        const QString ini = portable ? portableIni : userIni;
        if (portable)
            QVERIFY(QFile(portableIni).open(QIODevice::WriteOnly));
        const QString one = home.filePath(QStringLiteral("one.txt"));
        const QString two = home.filePath(QStringLiteral("two words.txt"));

        const QString first = RunUntilShown(program, {one, two}, home.path());
        for (const char* found : {"path library: lib/vantrel/libpathmix.so", "help folder: share/vantrel/help/"})
            QVERIFY2(first.contains(QString::fromLatin1(found).replace(": ", ": " + m_prefix.path() + u'/')),
                     qPrintable(first));
        const QByteArray saved = FileBytes::Read(ini);
        QVERIFY2(saved.contains("FileOne=" + QFile::encodeName(one) + '\n'), saved.constData());
        QVERIFY(!QFile::exists(portable ? userIni : portableIni));

        // An option changed between the runs is read, and written back.
        QVERIFY(FileBytes::Write(ini, FileBytes::Read(ini).replace("IgnoreCase=False", "IgnoreCase=True")));
        QVERIFY(!RunUntilShown(program, {}, home.path()).isEmpty());
        const QByteArray text = FileBytes::Read(ini);
        QVERIFY2(text.contains("IgnoreCase=True\n"), text.constData());
        QVERIFY2(text.contains("FileTwo=" + QFile::encodeName(two) + '\n'), text.constData());
        QFile::remove(portableIni);
    }

    // One instance per user, whatever temporary folder each is given, and
    // one that cannot be used does not matter; a killed instance's lock does
    // not block. With no place for a lock at all, the program runs and says
    // why in the detail log.
    void oneInstancePerUser()
    {
        QTemporaryDir home, tmp;
        const QString program = installed(QStringLiteral("bin/vantrel"));
        const QString running = QStringLiteral("Vantrel is already running");
        const QString notAFolder = home.filePath(QStringLiteral("file"));
        QVERIFY(FileBytes::Write(notAFolder, "x"));
        auto first =
            std::make_unique<Program>(program, QStringList(), home.path(), QStringList{"TMPDIR=" + notAFolder});
        QVERIFY2(first->says(kShown), qPrintable(first->output()));
        Program second(program, {}, home.path(), {"TMPDIR=" + tmp.path()});
        QVERIFY2(second.says(running), qPrintable(second.output()));
        first.reset();
        Program third(program, {}, home.path());
        QVERIFY2(third.says(kShown) && !third.output().contains(running), qPrintable(third.output()));
        Program fourth(program, {}, home.path());
        QVERIFY2(fourth.says(running), qPrintable(fourth.output()));

        QTemporaryDir noConfig;
        QVERIFY(FileBytes::Write(noConfig.filePath(QStringLiteral(".config")), "x"));
        Program without(program, {}, noConfig.path());
        QVERIFY2(without.says(kShown) && !without.output().contains(running), qPrintable(without.output()));
        const QByteArray log =
            FileBytes::Read(noConfig.filePath(QStringLiteral(".local/share/Vantrel/ERR_DETAIL.TXT")));
        QVERIFY2(log.contains("Cannot make sure that only one Vantrel runs: Cannot create the folder "
                              + QFile::encodeName(noConfig.filePath(QStringLiteral(".config/Vantrel")))
                              + ": Not a directory"),
                 log.constData());
    }

    // A copy of the program away from its path library says so.
    void missingPathLibrary()
    {
        QTemporaryDir home, folder;
        const QString copy = folder.filePath(QStringLiteral("vantrel"));
        QVERIFY(QFile::copy(installed(QStringLiteral("bin/vantrel")), copy));
        Program program(copy, {}, home.path());
        QVERIFY2(program.says(QStringLiteral("Error loading DLL - libpathmix.so")), qPrintable(program.output()));
        QVERIFY2(program.output().contains(QLatin1String("Source: modVantrel.Main")), qPrintable(program.output()));
    }

    // Each validator, its arguments and the installed file it checks.
    void validators_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList()
                                       << "share/applications/" + kAppId + ".desktop";
        QTest::newRow("AppStream metainfo")
            << "appstreamcli" << QStringList{"validate", "--no-net"} << "share/metainfo/" + kAppId + ".metainfo.xml";
        for (const char* page : {"vantrel", "vantrel-diff"})
            QTest::newRow(page) << "sh" << QStringList{"-c", "gzip -dc \"$0\" | groff -man -Tutf8 -ww -z 2>&1 | grep ."}
                                << QStringLiteral("share/man/man1/%1.1.gz").arg(QLatin1String(page));
    }

    void validators()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        if (QStandardPaths::findExecutable(tool == QLatin1String("sh") ? QStringLiteral("groff") : tool).isEmpty())
            QSKIP("the validator is not installed");
        QVERIFY(QFile::exists(installed(file)));
        QProcess check;
        check.setProcessChannelMode(QProcess::MergedChannels);
        check.start(tool, arguments << installed(file));
        QVERIFY(check.waitForFinished(60000));
        const QByteArray said = check.readAll();
        // grep finds no line of warnings: status 1.
        QVERIFY2(check.exitCode() == (tool == QLatin1String("sh") ? 1 : 0), said.constData());
    }

    // Each program's manual page lists exactly the options its --help lists.
    void optionsMatchHelp_data()
    {
        QTest::addColumn<QString>("program");
        for (const char* program : {"vantrel", "vantrel-diff"})
            QTest::newRow(program) << QString::fromLatin1(program);
    }

    void optionsMatchHelp()
    {
        QFETCH(QString, program);
        QProcess run;
        run.start(installed("bin/" + program), {QStringLiteral("--help")});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 0);
        // Those of --help on the lines that begin with blanks and a minus sign.
        const QSet<QString> help = Options(QString::fromUtf8(run.readAllStandardOutput()), "^([ \t]+-.*)$");
        QVERIFY(help.contains(QStringLiteral("--help")));
        // Those the page's OPTIONS section gives a paragraph of its own: the
        // tag lines that follow ".TP".
        const QString page = QString::fromUtf8(FileBytes::Read(qEnvironmentVariable("VANTREL_SOURCE_DIR")
                                                               + QStringLiteral("/data/man/%1.1.in").arg(program)));
        const QString section = page.section(QLatin1String(".SH OPTIONS\n"), 1).section(QLatin1String("\n.SH"), 0, 0);
        const QSet<QString> man = Options(QString(section)
                                              .replace(QLatin1String("\\-"), QLatin1String("-"))
                                              .remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]"))),
                                          QStringLiteral("^\\.TP\n(.*)$"));
        QVERIFY2(man == help, qPrintable(QStringLiteral("only in --help: %1; only in the page: %2")
                                             .arg(QStringList(QSet(help).subtract(man).values()).join(u' '),
                                                  QStringList(QSet(man).subtract(help).values()).join(u' '))));
    }

    void wrongOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("--compare, one file")
            << QStringList{"--compare", "a"} << "vantrel: --compare needs two files or folders, FILE1 and FILE2";
        QTest::newRow("unknown option") << QStringList{"--bogus", "a", "b"} << "vantrel: unknown option '--bogus'";
    }

    // Refused on standard error with the usage, status 2, without a
    // display: the complaint must come before Qt wants one.
    void wrongOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        // Qt's own options are taken out first; an unknown one needs Qt.
        if (complaint.contains(QLatin1String("unknown")))
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        run.setProcessEnvironment(environment);
        run.start(installed(QStringLiteral("bin/vantrel")), arguments);
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 2);
        QVERIFY(run.readAllStandardOutput().isEmpty());
        // Qt may warn before, about the environment.
        const QString error = QString::fromUtf8(run.readAllStandardError());
        QVERIFY2(error.contains(complaint + QStringLiteral("\n\nUsage: vantrel ")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_InstalledTree)
#include "tst_InstalledTree.moc"
