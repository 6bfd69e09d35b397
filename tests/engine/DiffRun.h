#pragma once
// Test helpers: running GNU diff and vantrel-diff on the same command line
// in a test folder, and counting the lines a script changes.

#include "ResultChecker.h"
#include "support/FileBytes.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

namespace DiffRun {

struct Outcome {
    int code = -1;
    QByteArray out, err;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// Lines a script removes or adds, in normal or unified form (the two
// header lines of unified output aside).
inline qint64 ChangedLines(const QByteArray& output)
{
    qint64 n = 0;
    const QList<QByteArray> lines = output.split('\n');
    const bool unified = output.startsWith("--- ");
    for (const QByteArray& line : lines.mid(unified ? 2 : 0))
        n += unified ? line.startsWith('-') || line.startsWith('+') : line.startsWith("< ") || line.startsWith("> ");
    return n;
}

// A test folder, and the built vantrel-diff to run there beside diff.
class Folder : public ResultChecker::Folder {
protected:
    using Outcome = DiffRun::Outcome;
    const QString m_program = qEnvironmentVariable("VANTREL_BIN_DIR") + QStringLiteral("/vantrel-diff");

    // Runs a shell command in the folder with $P naming `program`, in a
    // UTF-8 locale.
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

    // `program` with `args`, each quoted for the shell.
    Outcome Run(const QString& program, const QStringList& args)
    {
        QString command = "\"$P\"";
        for (QString a : args)
            command += " '" + a.replace('\'', "'\\''") + "'";
        return Shell(program, command);
    }

    // Ours beside diff's on files one and two under `options`: the same
    // exit code and output; or, where `mayDiffer` (a normal or unified
    // script), no more changed lines in a script that applies with every
    // line number checked and whose result diff, under the same options,
    // finds equal to File Two. Nothing more is run once the test has failed.
    void BesideDiff(const QStringList& options, bool mayDiffer)
    {
        if (QTest::currentTestFailed())
            return;
        const Outcome gnu = Run("diff", options + QStringList{"one", "two"});
        const Outcome ours = Run(m_program, options + QStringList{"one", "two"});
        QCOMPARE(ours.code, gnu.code);
        if (ours.out == gnu.out)
            return;
        QVERIFY2(mayDiffer, qPrintable(options.join(' ') + ": " + ours.out.toPercentEncoding()));
        const qint64 changed = ChangedLines(ours.out), gnuChanged = ChangedLines(gnu.out);
        QVERIFY2(changed <= gnuChanged,
                 qPrintable(QStringLiteral("%1 changed lines against diff's %2").arg(changed).arg(gnuChanged)));
        QByteArray applied;
        const QByteArray one = FileBytes::Read(m_dir.filePath("one"));
        QCOMPARE(ours.out.startsWith("--- ") ? ResultChecker::ApplyUnified(one, ours.out, applied)
                                             : ResultChecker::ApplyNormal(one, ours.out, applied),
                 QString());
        Write("patched", applied);
        QCOMPARE(Run("diff", options + QStringList{"patched", "two"}).code, 0);
    }
};

}  // namespace DiffRun
