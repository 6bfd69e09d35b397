#pragma once
// Test helpers: running GNU diff and vantrel-diff on the same command line
// in a test folder, and counting the lines a script changes.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace DiffRun {

struct Outcome {
    int code = -1;
    QByteArray out, err;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// Runs a shell command in `dir` with $P naming `program`, in a UTF-8 locale.
inline Outcome Shell(const QString& dir, const QString& program, const QString& command)
{
    QProcess p;
    p.setWorkingDirectory(dir);
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
inline Outcome Run(const QString& dir, const QString& program, const QStringList& args)
{
    QString command = "\"$P\"";
    for (QString a : args)
        command += " '" + a.replace('\'', "'\\''") + "'";
    return Shell(dir, program, command);
}

// Lines a script removes or adds, in normal or unified form (the two
// header lines of unified output aside).
inline qint64 ChangedLines(const QByteArray& output)
{
    qint64 n = 0;
    const QList<QByteArray> lines = output.split('\n');
    const bool unified = output.startsWith("--- ");
    for (qsizetype i = unified ? 2 : 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        n += unified ? line.startsWith('-') || line.startsWith('+') : line.startsWith("< ") || line.startsWith("> ");
    }
    return n;
}

}  // namespace DiffRun
