// vantrel-diff: exit codes, output equal to the engine's, options, and
// `patch` applying the output exactly.

#include "ResultChecker.h"
#include "engine/cDiffEngine.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace ResultChecker;

namespace {
struct Invocation { QByteArray one, two; QStringList options; int code; };
}  // namespace

class tst_VantrelDiffCommand : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_program;

    QString Write(const QString& name, const QByteArray& bytes) { return ResultChecker::Write(m_dir.filePath(name), bytes); }

    struct Outcome { int code = -1; QByteArray out, err; };

    static Outcome Run(const QString& program, const QStringList& args)
    {
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return {};
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }

private slots:
    void initTestCase()
    {
        m_program = qEnvironmentVariable("VANTREL_BIN_DIR") + QStringLiteral("/vantrel-diff");
        QVERIFY2(QFile::exists(m_program), qPrintable(m_program));
    }

    void matchesEngine_data()
    {
        QTest::addColumn<Invocation>("c");
        QTest::newRow("identical") << Invocation{"a\n", "a\n", QStringList(), 0};
        QTest::newRow("separate options") << Invocation{"A b\n", "ab\n", QStringList{"-i", "-w"}, 0};
        QTest::newRow("grouped options") << Invocation{"A b\n", "ab\n", QStringList{"-iw"}, 0};
        QTest::newRow("binary") << Invocation{QByteArray("a\0b", 3), QByteArray("a\0c", 3), QStringList(), 1};
        QTest::newRow("forced text") << Invocation{QByteArray("a\0b\n", 4), QByteArray("a\0c\n", 4), QStringList{"-a"}, 1};
        QTest::newRow("no final newline, CRLF") << Invocation{"a\r\nb", "a\nb\r\n", QStringList(), 1};
    }

    void matchesEngine()
    {
        QFETCH(Invocation, c);
        const auto& [one, two, options, code] = c;
        const QString p1 = Write("one", one), p2 = Write("two", two);
        const Outcome o = Run(m_program, options + QStringList{p1, p2});
        QCOMPARE(o.code, code);
        cDiffEngine engine;
        const QString flags = options.join(QString());
        engine.IgnoreCase(flags.contains('i'));
        engine.IgnoreWhiteSpace(flags.contains('w'));
        engine.ForceTextCompare(flags.contains('a'));
        QCOMPARE(engine.CompareFiles(p1, p2), code);
        QByteArray expected;
        for (int i = 0; i < engine.ResultLineCount(); ++i)
            expected += engine.ResultLineBytes(i) + '\n';
        QCOMPARE(o.out, expected);
        QVERIFY(o.err.isEmpty());
    }

    void trouble_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("mentioned");  // in the message on standard error
        QTest::newRow("missing file") << QStringList{"/nonexistent/vantrel-test-file", "/dev/null"}
                                      << QByteArray("/nonexistent/vantrel-test-file");
        QTest::newRow("folder") << QStringList{"/dev/null", "/"} << QByteArray("\"/\"");
        QTest::newRow("one argument") << QStringList{"/dev/null"} << QByteArray("two files");
        QTest::newRow("three arguments") << QStringList{"/dev/null", "/dev/null", "/dev/null"} << QByteArray("too many");
        QTest::newRow("unknown option") << QStringList{"-z", "/dev/null", "/dev/null"} << QByteArray("-z");
    }

    void trouble()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, mentioned);
        const Outcome o = Run(m_program, args);
        QCOMPARE(o.code, 2);
        QVERIFY(o.out.isEmpty());
        QVERIFY2(o.err.contains(mentioned), o.err.constData());
    }

    // The output applied by GNU patch gives File Two byte for byte.
    void patchRoundTrip()
    {
        const QString patch = QStandardPaths::findExecutable(QStringLiteral("patch"));
        if (patch.isEmpty())
            QSKIP("patch is not installed");
        QRandomGenerator rng(77);
        for (int round = 0; round < 40; ++round) {
            const QList<QByteArray> a = RandomLines(rng, rng.bounded(60), 8);
            const QList<QByteArray> b = Edited(rng, a, rng.bounded(10), 8);
            const QByteArray ending = rng.bounded(3) == 0 ? "\r\n" : "\n";
            const QByteArray one = Join(a, ending, rng.bounded(3) != 0), two = Join(b, ending, rng.bounded(3) != 0);
            const Outcome o = Run(m_program, {Write("one", one), Write("two", two)});
            QCOMPARE(o.code, one == two ? 0 : 1);
            if (one == two)
                continue;
            const Outcome applied = Run(patch, {"-s", "-o", m_dir.filePath("patched"), Write("target", one), Write("result.diff", o.out)});
            QCOMPARE(applied.code, 0);
            QFile patched(m_dir.filePath("patched"));
            QVERIFY(patched.open(QIODevice::ReadOnly));
            QCOMPARE(patched.readAll(), two);
        }
    }
};

QTEST_GUILESS_MAIN(tst_VantrelDiffCommand)
#include "tst_VantrelDiffCommand.moc"
