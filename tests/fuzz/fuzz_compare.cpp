// Fuzzes cDiffEngine::CompareFiles on pairs of random files. The first
// byte picks the settings, the next two where the input splits into File
// One and File Two. Checks: the code is 0, 1 or 2; without case or white
// space settings, the result lines applied to File One give File Two
// exactly (their texts as read: decoded when UTF-16 or UTF-32 is); in
// minimal mode on small inputs the result is as small as a brute-force
// longest common subsequence allows.

#include "FuzzInput.h"
#include "engine/ResultChecker.h"
#include "engine/cDiffEngine.h"
#include "support/TextBytes.h"

#include <QCoreApplication>
#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    std::size_t split = input.Byte();
    split = split << 8 | input.Byte();
    const QByteArray rest = input.Rest();
    static const QString base =
        QDir::tempPath() + QStringLiteral("/vantrel-fuzz-%1-").arg(QCoreApplication::applicationPid());
    const QString p1 = ResultChecker::Write(base + QStringLiteral("one"), rest.left(qsizetype(split)));
    const QString p2 = ResultChecker::Write(base + QStringLiteral("two"), rest.mid(qsizetype(split)));

    cDiffEngine engine;
    engine.IgnoreCase(flags & 1);
    engine.IgnoreWhiteSpace(flags & 2);
    engine.ForceTextCompare(flags & 4);
    engine.Minimal(flags & 8);
    engine.DecodeUnicode(flags & 16);
    const int code = engine.CompareFiles(p1, p2);
    Check(code >= 0 && code <= 2);
    if (code == 2 || !engine.LoadedFile(0))
        return 0;  // binary pair: nothing more to check
    const QByteArray one = Bytes(engine.LoadedFile(0)->Bytes());
    const QByteArray two = Bytes(engine.LoadedFile(1)->Bytes());
    Check((flags & 16) || (one == rest.left(qsizetype(split)) && two == rest.mid(qsizetype(split))));
    QList<QByteArray> result;
    for (int i = 0; i < engine.ResultLineCount(); ++i)
        result << engine.ResultLineBytes(i);
    if (flags & 3)
        return 0;  // case or blanks ignored: the result need not give File Two exactly
    Check((code == 0) == (one == two));
    QByteArray applied;
    Check(ResultChecker::Apply(one, result, applied).isEmpty() && (code != 1 || applied == two));
    const QList<QByteArray> a = ResultChecker::SplitKeepingEnds(one);
    const QList<QByteArray> b = ResultChecker::SplitKeepingEnds(two);
    if ((flags & 8) && a.size() * b.size() < 200000)
        Check(ResultChecker::ChangedLines(engine.Hunks()) == a.size() + b.size() - 2 * ResultChecker::LcsLength(a, b));
    return 0;
}
