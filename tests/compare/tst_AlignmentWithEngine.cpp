// Random file pairs through the real engine, then through the alignment.
#include "compare/Alignment.h"
#include "engine/cDiffEngine.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Alignment;

namespace {

QByteArray randomFileBytes(QRandomGenerator& rng)
{
    static const char* const kLines[] = {"alpha", "beta", "gamma", "", "\tdelta", "alpha "};
    QByteArray bytes;
    const int lines = int(rng.bounded(25));
    for (int i = 0; i < lines; ++i) {
        bytes += kLines[rng.bounded(6)];
        bytes += (i + 1 == lines && rng.bounded(3) == 0) ? "" : "\n";  // sometimes no final LF
    }
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Every line of the file appears exactly once, in order, and the pane ends
// with one empty row.
void verifyPane(const PaneRows& pane, qsizetype lines)
{
    std::int32_t expected = 0;
    for (std::int32_t line : pane.line) {
        if (line != kNoLine) QCOMPARE(line, expected++);
    }
    QCOMPARE(qsizetype(expected), lines);
    QCOMPARE(pane.line.back(), kNoLine);
    QCOMPARE(pane.color.back(), kDefaultColor);
}

}  // namespace

class tst_AlignmentWithEngine : public QObject {
    Q_OBJECT
private slots:
    void randomPairsAlign();
};

void tst_AlignmentWithEngine::randomPairsAlign()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString one = dir.filePath(QStringLiteral("one.txt"));
    const QString two = dir.filePath(QStringLiteral("two.txt"));
    QRandomGenerator rng(424242);
    int differing = 0;
    for (int round = 0; round < 300; ++round) {
        QVERIFY(writeFile(one, randomFileBytes(rng)));
        QVERIFY(writeFile(two, randomFileBytes(rng)));
        cDiffEngine engine;
        const int code = engine.CompareFiles(one, two);
        QVERIFY2(code == 0 || code == 1, qPrintable(engine.ResultLine(0)));
        if (code == 0) continue;
        ++differing;
        const auto fileOne = engine.LoadedFile(0);
        const auto fileTwo = engine.LoadedFile(1);
        QVERIFY(fileOne && fileTwo);
        const AlignOutcome out = alignResultLines(
            engine.ResultLineCount(), [&](qsizetype i) { return engine.ResultLine(int(i)); },
            std::int32_t(fileOne->LineCount()), std::int32_t(fileTwo->LineCount()));
        QVERIFY2(out.ok(), qPrintable(describeAlignStatus(out.status)));
        QCOMPARE(out.rows.one.size(), out.rows.two.size());
        verifyPane(out.rows.one, fileOne->LineCount());
        verifyPane(out.rows.two, fileTwo->LineCount());
        QVERIFY(!out.rows.DiffList.isEmpty());
        // Rows outside every block face equal lines.
        for (std::size_t r = 0; r + 1 < out.rows.one.size(); ++r) {
            if (out.rows.one.color[r] == kDefaultColor && out.rows.one.line[r] != kNoLine) {
                QVERIFY(out.rows.two.line[r] != kNoLine);
                QCOMPARE(fileOne->RawLine(out.rows.one.line[r]).toByteArray(),
                         fileTwo->RawLine(out.rows.two.line[r]).toByteArray());
            }
        }
    }
    QVERIFY(differing > 200);
}

QTEST_GUILESS_MAIN(tst_AlignmentWithEngine)
#include "tst_AlignmentWithEngine.moc"
