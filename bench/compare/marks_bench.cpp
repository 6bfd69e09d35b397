// marks_bench: how the character marks of changed line pairs read, beside
// git's word diff on the same pairs in the same run. The pairs are the
// changed rows of licence files compared as the window compares them (a
// changed block's lines of File One and File Two side by side from its
// first row down), and source lines with the edits people make, written by
// the benchmark's own generator. For each pair it counts the marked runs
// (stretches of differing characters, both lines together) and the marked
// characters, white space left out (see Marked): of the plain character comparison, of the marks the window
// shows (after the cleanup), and of `git diff --no-index
// --word-diff=porcelain` (its removed and added pieces).

#include "../BenchArgs.h"
#include "BenchProcess.h"

#include "compare/CharacterDiff.h"
#include "engine/Comparison.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct LinePair {
    QString source;  // "GPL-2:GPL-3 row 11", "rename 3"
    QString one;
    QString two;
};

struct Count {
    long runs = 0;
    long chars = 0;
    Count& operator+=(const Count& c)
    {
        runs += c.runs;
        chars += c.chars;
        return *this;
    }
};

// Runs of false marks and the characters in them (a surrogate pair is one).
// git's word diff never marks white space (it separates words), so white
// space is counted for neither: a run counts when it holds a character
// that is not white space, and only such characters count.
Count Marked(const QString& text, const std::vector<bool>& marks)
{
    Count c;
    bool counted = false;  // the current run has been counted
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (marks[static_cast<std::size_t>(k)]) {
            counted = false;
            continue;
        }
        if (text[k].isSpace() || text[k].isLowSurrogate())
            continue;
        ++c.chars;
        if (!counted)
            ++c.runs;
        counted = true;
    }
    return c;
}

Count MarkedPair(const LinePair& p, const modVantrel::CharacterDiffResult& r)
{
    Count c = Marked(p.one, r.marks1);
    c += Marked(p.two, r.marks2);
    return c;
}

// The line with [ and ] around each run of differing characters.
QString Bracketed(const QString& text, const std::vector<bool>& marks)
{
    QString out;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const bool differs = !marks[static_cast<std::size_t>(k)];
        if (differs && (k == 0 || marks[static_cast<std::size_t>(k - 1)]))
            out += '[';
        out += text[k];
        if (differs && (k + 1 == text.size() || marks[static_cast<std::size_t>(k + 1)]))
            out += ']';
    }
    return out;
}

// The changed rows of two files as the window pairs them.
std::vector<LinePair> ChangedRows(const QString& dir, const QString& name1, const QString& name2)
{
    InputFile in1((dir + '/' + name1).toStdString());
    InputFile in2((dir + '/' + name2).toStdString());
    const Comparison c = CompareInputs(in1, in2, CompareSettings{});
    std::vector<LinePair> pairs;
    if (c.outcome != Outcome::Different)
        return pairs;
    for (const LineDiff::Hunk& h : c.hunks) {
        for (std::int64_t k = 0; k < std::min(h.count1, h.count2); ++k) {
            const std::string_view a = c.files[0]->RawLine(h.first1 + k);
            const std::string_view b = c.files[1]->RawLine(h.first2 + k);
            pairs.push_back({QStringLiteral("%1:%2 line %3").arg(name1, name2).arg(h.first1 + k + 1),
                             QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                             QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()))});
        }
    }
    return pairs;
}

// Source lines and the edits made to them: a renamed identifier, a changed
// number, a reworded comment, an inserted argument.
std::vector<LinePair> SourceEdits(int each)
{
    const QStringList names{"count", "total", "index", "buffer", "length", "offset", "result", "value", "limit"};
    const QStringList longer{"itemCount",   "grandTotal",   "rowIndex", "readBuffer", "byteLength",
                             "startOffset", "parsedResult", "newValue", "upperLimit"};
    const QStringList words{"the", "value", "is",    "read", "once", "from",    "each", "file",  "before", "line",
                            "and", "kept",  "until", "next", "call", "returns", "an",   "error", "when",   "empty"};
    QRandomGenerator random(28);
    const auto pick = [&random](const QStringList& list) { return list[random.bounded(list.size())]; };
    std::vector<LinePair> pairs;
    for (int n = 0; n < each; ++n) {
        const QString a = pick(names);
        const QString b = pick(names);
        const int at = random.bounded(names.size());
        QString line = QStringLiteral("    const auto %1 = Compute(%2, %3 + 1);").arg(a, b, names[at]);
        QString renamed = line;
        renamed.replace(names[at], longer[at]);
        pairs.push_back({QStringLiteral("rename %1").arg(n), line, renamed});

        const int number = random.bounded(2, 5000);
        const QString numbered = QStringLiteral("    %1.setTimeout(%2);").arg(a);
        pairs.push_back(
            {QStringLiteral("number %1").arg(n), numbered.arg(number), numbered.arg(number + random.bounded(1, 100))});

        QStringList sentence;
        for (int w = 0; w < 10; ++w)
            sentence << pick(words);
        QStringList reworded = sentence;
        for (int w = 0; w < 3; ++w)
            reworded[random.bounded(reworded.size())] = pick(words);
        pairs.push_back({QStringLiteral("reword %1").arg(n), "    // " + sentence.join(' ') + '.',
                         "    // " + reworded.join(' ') + '.'});

        const QString call = QStringLiteral("    Write(%1, %2);").arg(a, b);
        pairs.push_back({QStringLiteral("argument %1").arg(n), call,
                         QStringLiteral("    Write(%1, %2, %3);").arg(a, pick(longer), b)});
    }
    return pairs;
}

// git's word diff of the pair, each line written to a file of its own.
Count GitWordDiff(const QTemporaryDir& dir, const LinePair& p)
{
    const QString a = dir.filePath(QStringLiteral("a"));
    const QString b = dir.filePath(QStringLiteral("b"));
    for (const auto& [path, text] : {std::pair{a, p.one}, std::pair{b, p.two}}) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(text.toUtf8() + '\n');
    }
    const ProcessRun run =
        RunProcess({"git", "diff", "--no-index", "--word-diff=porcelain", a.toStdString(), b.toStdString()});
    Count c;
    bool inHunk = false;
    for (const QString& line : QString::fromStdString(run.out).split('\n')) {
        if (line.startsWith(QLatin1String("@@")))
            inHunk = true;
        else if (inHunk && (line.startsWith('-') || line.startsWith('+'))) {
            long chars = 0;
            for (const char32_t ch : line.mid(1).toUcs4())
                chars += QChar::isSpace(ch) ? 0 : 1;
            c.runs += chars > 0 ? 1 : 0;
            c.chars += chars;
        }
    }
    return c;
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string licences = "/usr/share/common-licenses";
    std::string filePairs = "GPL-1:GPL-2,GPL-2:GPL-3,LGPL-2:LGPL-2.1,LGPL-2.1:LGPL-3,GFDL-1.2:GFDL-1.3,MPL-1.1:MPL-2.0";
    std::string edits = "10";
    std::string rows = "no";
    const std::vector<BenchArgs::Option> options{
        {"--licences", "DIR", "folder of the licence files", &licences},
        {"--files", "A:B,...", "file pairs compared in that folder", &filePairs},
        {"--edits", "N", "generated source lines of each kind of edit", &edits},
        {"--rows", "yes|no|marks", "a line for every pair (marks: and its lines, [marked])", &rows},
    };
    if (const auto stop = BenchArgs::Parse(argc, argv, "usage: marks_bench [options]", options))
        return *stop;
    const auto each = BenchArgs::PositiveNumber(edits);
    if (!each || (rows != "yes" && rows != "no" && rows != "marks")) {
        std::fprintf(stderr, "marks_bench: --edits takes a positive number, --rows yes, no or marks\n");
        return 2;
    }
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 2;

    // The groups the table sums up: each file pair, each kind of edit.
    std::vector<std::pair<QString, std::vector<LinePair>>> groups;
    for (const QString& pair : QString::fromStdString(filePairs).split(',', Qt::SkipEmptyParts)) {
        const QStringList names = pair.split(':');
        if (names.size() != 2) {
            std::fprintf(stderr, "marks_bench: %s is not A:B\n", qPrintable(pair));
            return 2;
        }
        groups.emplace_back(pair, ChangedRows(QString::fromStdString(licences), names[0], names[1]));
    }
    for (const char* kind : {"rename", "number", "reword", "argument"}) {
        std::vector<LinePair> ofKind;
        for (LinePair& p : SourceEdits(static_cast<int>(*each)))
            if (p.source.startsWith(QLatin1String(kind)))
                ofKind.push_back(std::move(p));
        groups.emplace_back(QString::fromLatin1(kind), std::move(ofKind));
    }

    std::printf("%-26s %5s | %12s | %12s | %12s | %s\n", "pairs", "n", "plain", "shown", "git word", "shown > git");
    std::printf("%-26s %5s | %5s %6s | %5s %6s | %5s %6s | %5s %6s\n", "", "", "runs", "chars", "runs", "chars", "runs",
                "chars", "runs", "chars");
    Count plainAll, shownAll, gitAll;
    long pairsAll = 0, moreRunsAll = 0, moreCharsAll = 0;
    qint64 shownNanos = 0;
    for (const auto& [name, pairs] : groups) {
        Count plain, shown, git;
        long moreRuns = 0, moreChars = 0;
        for (const LinePair& p : pairs) {
            const Count a = MarkedPair(p, modVantrel::CompareCharacters(p.one, p.two, false));
            QElapsedTimer clock;
            clock.start();
            const modVantrel::CharacterDiffResult tidy =
                modVantrel::ShownCharacterDiffs(LineText(p.one), LineText(p.two), false);
            shownNanos += clock.nsecsElapsed();
            const Count s = MarkedPair(p, tidy);
            const Count g = GitWordDiff(scratch, p);
            moreRuns += s.runs > g.runs ? 1 : 0;
            moreChars += s.chars > g.chars ? 1 : 0;
            if (rows == "marks")
                std::printf("  %s\n    %s\n    %s\n", qPrintable(p.source), qPrintable(Bracketed(p.one, tidy.marks1)),
                            qPrintable(Bracketed(p.two, tidy.marks2)));
            if (rows != "no")
                std::printf("  %-24s %5s | %5ld %6ld | %5ld %6ld | %5ld %6ld | %5s %6s\n", qPrintable(p.source), "",
                            a.runs, a.chars, s.runs, s.chars, g.runs, g.chars, s.runs > g.runs ? "more" : "",
                            s.chars > g.chars ? "more" : "");
            plain += a;
            shown += s;
            git += g;
        }
        std::printf("%-26s %5zu | %5ld %6ld | %5ld %6ld | %5ld %6ld | %5ld %6ld\n", qPrintable(name), pairs.size(),
                    plain.runs, plain.chars, shown.runs, shown.chars, git.runs, git.chars, moreRuns, moreChars);
        plainAll += plain;
        shownAll += shown;
        gitAll += git;
        pairsAll += static_cast<long>(pairs.size());
        moreRunsAll += moreRuns;
        moreCharsAll += moreChars;
    }
    std::printf("%-26s %5ld | %5ld %6ld | %5ld %6ld | %5ld %6ld | %5ld %6ld\n", "total", pairsAll, plainAll.runs,
                plainAll.chars, shownAll.runs, shownAll.chars, gitAll.runs, gitAll.chars, moreRunsAll, moreCharsAll);
    std::printf("shown marks: %.3f ms for all pairs\n", static_cast<double>(shownNanos) / 1e6);
    return 0;
}
