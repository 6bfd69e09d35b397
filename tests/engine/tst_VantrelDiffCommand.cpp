// vantrel-diff beside GNU diff: the same exit codes, output and messages
// for the same command line; on generated and real text the same hunks,
// or else a script no larger that `patch` applies, in normal and unified
// form.

#include "ResultChecker.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace ResultChecker;

class tst_VantrelDiffCommand : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_program;

    struct Outcome {
        int code = -1;
        QByteArray out, err;
        friend bool operator==(const Outcome&, const Outcome&) = default;
    };

    QString Write(const QString& name, const QByteArray& bytes)
    {
        return ResultChecker::Write(m_dir.filePath(name), bytes);
    }

    // Runs a shell command in the test folder with $P naming the program.
    Outcome Shell(const QString& program, const QString& command)
    {
        QProcess p;
        p.setWorkingDirectory(m_dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("P", program);
        env.insert("LC_ALL", "C.UTF-8");
        p.setProcessEnvironment(env);
        p.start("/bin/sh", {"-c", command});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return {};
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }

    Outcome Run(const QString& program, const QStringList& args)
    {
        QString command = "\"$P\"";
        for (const QString& a : args)
            command += " '" + a + "'";
        return Shell(program, command);
    }

    // Lines a script removes or adds, in normal or unified form (the two
    // header lines of unified output aside).
    static qint64 ChangedLines(const QByteArray& output)
    {
        qint64 n = 0;
        const QList<QByteArray> lines = output.split('\n');
        const bool unified = output.startsWith("--- ");
        for (qsizetype i = unified ? 2 : 0; i < lines.size(); ++i) {
            const QByteArray& line = lines[i];
            n +=
                unified ? line.startsWith('-') || line.startsWith('+') : line.startsWith("< ") || line.startsWith("> ");
        }
        return n;
    }

    // Applies a patch to `one` with GNU patch and returns the result.
    QByteArray Patched(const QByteArray& one, const QByteArray& patch, const QString& format)
    {
        Write("target", one);
        Write("result.diff", patch);
        const Outcome o = Run("patch", {"-s", format, "-o", "patched", "target", "result.diff"});
        if (o.code != 0)
            return "patch failed: " + o.err;
        QFile patched(m_dir.filePath("patched"));
        return patched.open(QIODevice::ReadOnly) ? patched.readAll() : QByteArray("no output");
    }

    // One pair beside diff in each form: the same code, and the same output
    // or else no more changed lines and a script patch applies. (A form
    // may differ where the other does not: unified output keeps its
    // context in view when placing a block, as diff -u does.)
    void CheckPair(const QByteArray& one, const QByteArray& two)
    {
        Write("one", one);
        Write("two", two);
        const QStringList forms[] = {{}, {"-u"}, {"-U", "0"}, {"--unified=1"}};
        for (const QStringList& form : forms) {
            const Outcome gnu = Run("diff", form + QStringList{"one", "two"});
            const Outcome ours = Run(m_program, form + QStringList{"one", "two"});
            QCOMPARE(ours.code, gnu.code);
            if (ours.out == gnu.out)
                continue;
            QVERIFY2(ChangedLines(ours.out) <= ChangedLines(gnu.out),
                     qPrintable(QStringLiteral("%1 changed lines against diff's %2")
                                    .arg(ChangedLines(ours.out))
                                    .arg(ChangedLines(gnu.out))));
            QCOMPARE(Patched(one, ours.out, form.isEmpty() ? "--normal" : "--unified"), two);
            // patch forgives misplaced hunks; the numbers must be exact.
            QByteArray applied;
            if (!form.isEmpty())
                QCOMPARE(ApplyUnified(one, ours.out, applied), QString());
            QVERIFY(form.isEmpty() || applied == two);
        }
    }

private slots:
    void initTestCase()
    {
        m_program = qEnvironmentVariable("VANTREL_BIN_DIR") + QStringLiteral("/vantrel-diff");
        QVERIFY2(QFile::exists(m_program), qPrintable(m_program));
        Write("one", "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\n");
        Write("two", "a\nB\nc\nd\ne\nf\ng\nh\ni\nj\nk");
        Write("spaced", "a\nb \nc\nd\ne\nF\ng\nh\ni\nj\n");
        Write("-x", "a\n");
        Write("bin1", QByteArray("a\0b\n", 4));
        Write("bin2", QByteArray("a\0c\n", 4));
        QByteArray big;
        for (int i = 0; i < 20000; ++i)
            big += "line " + QByteArray::number(i % 7000) + "\n";
        Write("big1", big);
        Write("big2", big.mid(1000) + "tail\n");
    }

    // The same command line given to diff and to vantrel-diff: the same
    // exit code, standard output and messages (with the program's name).
    void sameAsDiff_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("identical") << "$P one one";
        QTest::newRow("normal") << "$P one two";
        QTest::newRow("unified") << "$P -u one two";
        QTest::newRow("-U N") << "$P -U 1 one two";
        QTest::newRow("-UN after the operands") << "$P one two -U0";
        QTest::newRow("--unified=N") << "$P --unified=5 one two";
        QTest::newRow("--unified") << "$P --unified one two";
        QTest::newRow("labels") << "$P -u --label 'A B' --label=C one two";
        QTest::newRow("long options") << "$P --ignore-case --ignore-all-space one spaced";
        QTest::newRow("short options grouped") << "$P -iwu one spaced";
        QTest::newRow("long option prefix") << "$P --ignore-c one spaced";
        QTest::newRow("-- before a name starting with -") << "$P -- -x one";
        QTest::newRow("- reads standard input") << "$P -u --label in - two < one";
        QTest::newRow("standard input from a pipe, many blocks") << "cat big1 | $P - big2";
        QTest::newRow("standard input twice") << "printf 'a\\n' | $P - -";
        QTest::newRow("same endless file twice") << "timeout 20 $P /dev/zero /dev/zero";
        QTest::newRow("binary") << "$P bin1 bin2";
        QTest::newRow("binary as text") << "$P --text bin1 bin2";
        QTest::newRow("UTF-16 is binary unless decoded")
            << "printf '\\377\\376a\\0\\n\\0' > w1; printf '\\377\\376b\\0\\n\\0' > w2; $P w1 w2";
        // (Removed again: the temporary folder cannot name it.)
        QTest::newRow("file name not UTF-8")
            << "f=$(printf 'caf\\351'); printf 'a\\n' > \"$f\"; $P \"$f\" one; r=$?; rm \"$f\"; exit $r";
        QTest::newRow("missing file") << "$P one missing";
        QTest::newRow("no operands") << "$P";
        QTest::newRow("one operand") << "$P one";
        QTest::newRow("extra operand") << "$P one two three";
        QTest::newRow("invalid option") << "$P -z one two";
        QTest::newRow("unrecognized option") << "$P --frobnicate one two";
        QTest::newRow("invalid context length") << "$P -U x one two";
        QTest::newRow("negative context length") << "$P --unified=-1 one two";
        QTest::newRow("-U without a value") << "$P one two -U";
        QTest::newRow("--label without a value") << "$P one two --label";
        QTest::newRow("value not allowed") << "$P --text=1 one two";
        QTest::newRow("three labels") << "$P --label a --label b --label c one two";
        QTest::newRow("write error") << "$P one two > /dev/full";
    }

    void sameAsDiff()
    {
        QFETCH(QString, command);
        const Outcome ours = Shell(m_program, command);
        Outcome gnu = Shell("diff", command);
        gnu.err.replace("diff", "vantrel-diff");
        QCOMPARE(ours.code, gnu.code);
        QCOMPARE(ours.out, gnu.out);
        QCOMPARE(ours.err, gnu.err);
    }

    void helpAndVersion()
    {
        for (const char* option : {"--help", "--version", "--he"}) {
            const Outcome o = Run(m_program, {option, "no-such-file"});
            QCOMPARE(o.code, 0);
            QVERIFY(o.out.contains("vantrel-diff") && o.err.isEmpty());
        }
    }

    // --decode-unicode reads a file as iconv converts it from the encoding
    // its byte-order mark names (the mark kept as U+FEFF): diff on the
    // converted files is the oracle. A file that is not valid after its
    // mark (no encoding given) is read as it is, as by diff.
    void decodeUnicode_data()
    {
        QTest::addColumn<QByteArray>("one");  // UTF-8, or the bytes as written
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<QString>("encodingOne");  // converted to it; empty: written as it is
        QTest::addColumn<QString>("encodingTwo");
        const QByteArray bom = "\xef\xbb\xbf";
        const QByteArray text = bom + "line 1\r\ncaf\xc3\xa9 \xf0\x9f\x98\x80\r\nend";
        const QByteArray edited = bom + "line 1\r\ncafe \xf0\x9f\x98\x81\r\nend\r\n";
        QTest::newRow("UTF-16 LE") << text << edited << "UTF-16LE" << QString("UTF-16LE");
        QTest::newRow("UTF-16 BE") << text << edited << "UTF-16BE" << QString("UTF-16BE");
        QTest::newRow("UTF-32 LE against UTF-8") << text << edited << "UTF-32LE" << QString("UTF-8");
        QTest::newRow("UTF-32 BE against UTF-16 LE") << text << edited << "UTF-32BE" << QString("UTF-16LE");
        QTest::newRow("same text, LE against BE") << text << text << "UTF-16LE" << QString("UTF-16BE");
        const QByteArray lone("\xff\xfe"
                              "a\0\0\xdc\n\0",
                              8),
            odd("\xfe\xff\0a\0\n\0", 7);
        QTest::newRow("lone surrogate, odd length") << lone << odd << "" << QString("");
        QTest::newRow("lone surrogate against UTF-16") << lone << text << "" << QString("UTF-16LE");
    }

    void decodeUnicode()
    {
        QFETCH(QByteArray, one);
        QFETCH(QByteArray, two);
        QFETCH(QString, encodingOne);
        QFETCH(QString, encodingTwo);
        Write("text1", one);
        Write("text2", two);
        // u/ holds the files as given, w/ as converted, under the same names.
        const QString convert = QStringLiteral("mkdir -p u w; conv() { cp \"$1\" u/$2; if [ -n \"$3\" ]; then "
                                               "iconv -f UTF-8 -t \"$3\" \"$1\" > w/$2; else cp \"$1\" w/$2; fi; }; "
                                               "conv text1 a '%1' && conv text2 b '%2'")
                                    .arg(encodingOne, encodingTwo);
        QCOMPARE(Shell(m_program, convert).code, 0);
        const Outcome ours = Shell(m_program, "cd w && $P --decode-unicode a b");
        const Outcome gnu = Shell("diff", "cd u && diff a b");
        QCOMPARE(ours.code, gnu.code);
        QCOMPARE(ours.out, gnu.out);
        QCOMPARE(ours.err, gnu.err);
    }

    // Random pairs from small alphabets, edits of each other or unrelated,
    // with CRLF and missing final newlines.
    void generatedPairs()
    {
        QRandomGenerator rng(77);
        for (int round = 0; round < 60; ++round) {
            const int alphabet = 2 + rng.bounded(12);
            const QList<QByteArray> a = RandomLines(rng, rng.bounded(80), alphabet);
            const QList<QByteArray> b = rng.bounded(3) ? Edited(rng, a, rng.bounded(12), alphabet)
                                                       : RandomLines(rng, rng.bounded(80), alphabet);
            const QByteArray ending = rng.bounded(4) == 0 ? "\r\n" : "\n";
            CheckPair(Join(a, ending, rng.bounded(4) != 0), Join(b, ending, rng.bounded(4) != 0));
            if (QTest::currentTestFailed())
                return;
        }
    }

    // Unrelated files of lines drawn from "a" and "b", long enough for the
    // search to settle for guesses: still no more changed lines than diff.
    void veryDifferentFiles()
    {
        QRandomGenerator rng(9);
        for (int round = 0; round < 2; ++round) {
            QByteArray one, two;
            for (int i = 0; i < 40000; ++i) {
                one += rng.bounded(2) ? "a\n" : "b\n";
                two += rng.bounded(2) ? "a\n" : "b\n";
            }
            CheckPair(one, two);
        }
    }

    // The program's own sources: neighbouring files, which share many
    // short lines, and each file against an edit of itself.
    void realTextPairs()
    {
        QStringList files;
        for (QDirIterator it(qEnvironmentVariable("VANTREL_SOURCE_DIR") + "/src", {"*.cpp"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            files << it.next();
        std::sort(files.begin(), files.end());
        QVERIFY(files.size() > 20);
        QRandomGenerator rng(5);
        for (qsizetype i = 0; i + 1 < files.size(); i += 2) {
            QFile f1(files[i]), f2(files[i + 1]);
            QVERIFY(f1.open(QIODevice::ReadOnly) && f2.open(QIODevice::ReadOnly));
            const QByteArray one = f1.readAll();
            CheckPair(one, f2.readAll());
            const QList<QByteArray> lines = one.split('\n');
            CheckPair(one, Join(Edited(rng, lines, 1 + rng.bounded(20), 50), "\n", false));
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_GUILESS_MAIN(tst_VantrelDiffCommand)
#include "tst_VantrelDiffCommand.moc"
