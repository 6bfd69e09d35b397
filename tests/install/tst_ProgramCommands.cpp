// The programs as commands: each one's manual page lists exactly the
// options its --help lists, and the program refuses wrong options on
// standard error with the usage, status 2, before it needs a display.

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include "support/FileBytes.h"

namespace {

// Option names such as -c or --context, not the "-" of "UTF-16".
const QRegularExpression kOption(QStringLiteral("(?<![\\w-])--?[A-Za-z][A-Za-z0-9-]*"));

QSet<QString> OptionsIn(const QString& text)
{
    QSet<QString> found;
    for (auto it = kOption.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured());
    return found;
}

// The options of --help: those on the lines that begin with blanks and a
// minus sign.
QSet<QString> HelpOptions(const QString& help)
{
    QSet<QString> found;
    static const QRegularExpression optionLine(QStringLiteral("^\\s+-"));
    for (const QString& line : help.split(u'\n'))
        if (optionLine.match(line).hasMatch())
            found.unite(OptionsIn(line));
    return found;
}

// The options the page's OPTIONS section gives a paragraph of its own: the
// tag lines that follow ".TP".
QSet<QString> ManOptions(const QString& page)
{
    QSet<QString> found;
    bool inOptions = false;
    bool tag = false;
    for (QString line : page.split(u'\n')) {
        if (line.startsWith(QLatin1String(".SH")))
            inOptions = line == QLatin1String(".SH OPTIONS");
        else if (inOptions && tag)
            found.unite(OptionsIn(line.replace(QLatin1String("\\-"), QLatin1String("-"))
                                      .remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")))));
        tag = line == QLatin1String(".TP");
    }
    return found;
}

}  // namespace

class tst_ProgramCommands : public QObject {
    Q_OBJECT
private slots:
    void optionsMatchHelp_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("vantrel") << "vantrel";
        QTest::newRow("vantrel-diff") << "vantrel-diff";
    }

    void optionsMatchHelp()
    {
        QFETCH(QString, program);
        QProcess run;
        run.start(qEnvironmentVariable("VANTREL_BIN_DIR") + u'/' + program, {QStringLiteral("--help")});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 0);
        const QSet<QString> help = HelpOptions(QString::fromUtf8(run.readAllStandardOutput()));
        QVERIFY(help.contains(QStringLiteral("--help")));
        const QString page = QString::fromUtf8(FileBytes::Read(qEnvironmentVariable("VANTREL_SOURCE_DIR")
                                                               + QStringLiteral("/data/man/%1.1.in").arg(program)));
        const QSet<QString> man = ManOptions(page);
        QVERIFY2(man == help, qPrintable(QStringLiteral("only in --help: %1; only in the page: %2")
                                             .arg(QStringList(QSet(help).subtract(man).values()).join(u' '),
                                                  QStringList(QSet(man).subtract(help).values()).join(u' '))));
    }

    void wrongOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("--compare, one file")
            << QStringList{"--compare", "a"} << "vantrel: --compare needs two files, FILE1 and FILE2";
        QTest::newRow("unknown option") << QStringList{"--bogus", "a", "b"} << "vantrel: unknown option '--bogus'";
    }

    // Without a display: the complaint must come before Qt wants one.
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
        run.start(qEnvironmentVariable("VANTREL_BIN_DIR") + QStringLiteral("/vantrel"), arguments);
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.exitCode(), 2);
        QVERIFY(run.readAllStandardOutput().isEmpty());
        // Qt may warn before, about the environment.
        const QString error = QString::fromUtf8(run.readAllStandardError());
        QVERIFY2(error.contains(complaint + QStringLiteral("\n\nUsage: vantrel ")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramCommands)
#include "tst_ProgramCommands.moc"
