// How well moved lines are found: real text files (the licence texts and C
// headers Debian installs) get known moves planted in them (blocks of 1 to
// 50 lines cut and pasted far away, some edited inside) among ordinary
// edits; the comparison's blocks are then searched for moves. Reported:
// planted moves of at least 3 unedited lines found whole, other planted
// runs found, and moves found that were not planted, on pairs with moves and
// on pairs with ordinary edits only. With --lines N, the time the search
// takes on a generated N-line pair with 1% changed and 1,000 moves, beside
// the comparison itself.

#include "../BenchArgs.h"
#include "engine/LineDiff.h"
#include "engine/MovedLines.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kUsage[] = "moves_bench [--seed N] [--pairs N] [--lines N]\n"
                      "Planted moves in real text files found by the moved-line search, and false moves;\n"
                      "with --lines, the search's time on a generated pair of N lines with 1,000 moves.";

using Lines = std::vector<std::string>;

// A planted move: File Two's lines two .. two + count - 1 are File One's
// one .. one + count - 1, but for line `edited` of the run (-1 for none).
struct Planted {
    std::int64_t one = 0;
    std::int64_t two = 0;
    std::int64_t count = 0;
    std::int64_t edited = -1;
};

Lines ReadLines(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    Lines lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Joined(const Lines& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

// File Two from File One: `moves` blocks cut and pasted at least twice their
// length plus 20 lines away (so that the comparison keeps the lines they
// jumped over), a quarter of them edited inside; then ordinary edits that
// touch no planted line: changed lines, deleted lines, new lines.
Lines Edited(const Lines& one, int moves, std::mt19937_64& random, std::vector<Planted>& planted)
{
    // Each line of File Two as (its line in File One, or -1 for a new one).
    std::vector<std::int64_t> origin(one.size());
    for (std::size_t i = 0; i < one.size(); ++i)
        origin[i] = static_cast<std::int64_t>(i);
    std::vector<bool> taken(one.size(), false);
    std::vector<std::pair<std::int64_t, std::int64_t>> blocks;  // first line in File One, count
    for (int m = 0, tries = 0; m < moves && tries < 20 * moves + 200; ++tries) {
        const auto count = static_cast<std::int64_t>(1 + random() % 50);
        if (static_cast<std::int64_t>(one.size()) < 3 * count + 60)
            continue;
        const auto from = static_cast<std::int64_t>(random() % (one.size() - static_cast<std::size_t>(count)));
        if (std::any_of(taken.begin() + from, taken.begin() + from + count, [](bool t) { return t; }))
            continue;
        std::fill(taken.begin() + from, taken.begin() + from + count, true);
        blocks.emplace_back(from, count);
        ++m;
    }
    // Cut every block, then paste each far from where it was, between two
    // lines that stayed (so never inside another block).
    std::vector<std::int64_t> base;
    for (std::size_t i = 0; i < origin.size(); ++i)
        if (!taken[i])
            base.push_back(origin[i]);
    std::vector<std::vector<std::int64_t>> pastedAt(base.size() + 1);
    for (const auto& [from, count] : blocks) {
        const auto before = std::lower_bound(base.begin(), base.end(), from) - base.begin();
        std::int64_t at = 0;
        for (int tries = 0; tries < 50; ++tries) {
            at = static_cast<std::int64_t>(random() % (base.size() + 1));
            if (std::abs(at - before) > 2 * count + 20)
                break;
        }
        for (std::int64_t k = 0; k < count; ++k)
            pastedAt[static_cast<std::size_t>(at)].push_back(from + k);
    }
    std::vector<std::int64_t> kept;
    for (std::size_t j = 0; j <= base.size(); ++j) {
        kept.insert(kept.end(), pastedAt[j].begin(), pastedAt[j].end());
        if (j < base.size())
            kept.push_back(base[j]);
    }
    Lines two;
    std::vector<bool> edited(one.size(), false);
    for (const auto& [from, count] : blocks)
        if (count >= 7 && random() % 4 == 0)
            edited[static_cast<std::size_t>(from + count / 2)] = true;
    for (const std::int64_t line : kept) {
        const std::string& text = one[static_cast<std::size_t>(line)];
        if (edited[static_cast<std::size_t>(line)])
            two.push_back(text + " (edited)");
        else if (!taken[static_cast<std::size_t>(line)] && random() % 100 == 0)
            two.push_back(text + " (changed)");
        else if (!taken[static_cast<std::size_t>(line)] && random() % 150 == 0)
            continue;
        else
            two.push_back(text);
        if (!taken[static_cast<std::size_t>(line)] && random() % 150 == 0)
            two.push_back("a new line " + std::to_string(random() % 1000000));
    }
    // Where each block landed.
    for (const auto& [from, count] : blocks) {
        const std::string& first = one[static_cast<std::size_t>(from)];
        Planted p{from, -1, count, -1};
        for (std::int64_t k = 0; k < count; ++k)
            if (edited[static_cast<std::size_t>(from + k)])
                p.edited = k;
        for (std::size_t i = 0; i + static_cast<std::size_t>(count) <= two.size() && p.two < 0; ++i) {
            bool all = two[i] == first || (p.edited == 0 && two[i] == first + " (edited)");
            for (std::int64_t k = 1; all && k < count; ++k)
                all = two[i + static_cast<std::size_t>(k)] == one[static_cast<std::size_t>(from + k)]
                      || (k == p.edited
                          && two[i + static_cast<std::size_t>(k)]
                                 == one[static_cast<std::size_t>(from + k)] + " (edited)");
            if (all)
                p.two = static_cast<std::int64_t>(i);
        }
        planted.push_back(p);
    }
    return two;
}

// The runs of a planted move that are line for line the same: one, or the
// two on either side of its edited line.
std::vector<Planted> SameRuns(const Planted& p)
{
    if (p.edited < 0)
        return {p};
    return {{p.one, p.two, p.edited, -1}, {p.one + p.edited + 1, p.two + p.edited + 1, p.count - p.edited - 1, -1}};
}

// True when the found moves carry every line of the run to its place that
// the comparison shows as lost from File One and gained at that place in
// File Two (a line of the block that the comparison matched with an equal
// line elsewhere, a blank one say, is no difference to show as moved).
bool Covered(const Planted& run, const std::vector<MovedLines::Move>& found, const std::vector<LineDiff::Hunk>& hunks)
{
    const auto changed = [&](std::int64_t line, bool one) {
        return std::any_of(hunks.begin(), hunks.end(), [&](const LineDiff::Hunk& h) {
            const std::int64_t first = one ? h.first1 : h.first2;
            return line >= first && line < first + (one ? h.count1 : h.count2);
        });
    };
    for (std::int64_t k = 0; k < run.count; ++k) {
        if (!changed(run.one + k, true) || !changed(run.two + k, false))
            continue;
        const bool carried = std::any_of(found.begin(), found.end(), [&](const MovedLines::Move& m) {
            return run.one + k >= m.lineOne && run.one + k < m.lineOne + m.count
                   && m.lineTwo - m.lineOne == run.two - run.one;
        });
        if (!carried)
            return false;
    }
    return true;
}

struct Tally {
    int planted = 0, found = 0;            // runs of at least 3 lines
    int shortPlanted = 0, shortFound = 0;  // runs of 1 or 2 lines
    int falseMoves = 0;                    // moves that carry no planted line
};

void Score(const Lines& one, const Lines& two, const std::vector<Planted>& planted, Tally& tally)
{
    const auto a = LineFile::FromBytes(Joined(one));
    const auto b = LineFile::FromBytes(Joined(two));
    const LineDiff::Settings settings;
    const std::vector<LineDiff::Hunk> hunks = LineDiff::FindHunks(*a, *b, settings);
    const std::vector<MovedLines::Move> found = MovedLines::Find(*a, *b, hunks, TextNormalizer(settings));
    for (const Planted& p : planted)
        for (const Planted& run : SameRuns(p)) {
            if (run.count <= 0 || p.two < 0)
                continue;
            const bool covered = Covered(run, found, hunks);
            (run.count >= MovedLines::kMinLines ? tally.planted : tally.shortPlanted) += 1;
            (run.count >= MovedLines::kMinLines ? tally.found : tally.shortFound) += covered ? 1 : 0;
        }
    for (const MovedLines::Move& m : found) {
        const bool plantedHere = std::any_of(planted.begin(), planted.end(), [&](const Planted& p) {
            return m.lineOne >= p.one && m.lineOne < p.one + p.count && m.lineTwo - m.lineOne == p.two - p.one;
        });
        tally.falseMoves += plantedHere ? 0 : 1;
    }
}

std::vector<std::filesystem::path> RealFiles()
{
    std::vector<std::filesystem::path> files;
    for (const char* folder : {"/usr/share/common-licenses", "/usr/include/x86_64-linux-gnu/sys", "/usr/include"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.is_regular_file() && !entry.is_symlink() && entry.file_size() > 4000)
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void TimeLargePair(long lines, std::mt19937_64& random)
{
    Lines one;
    for (long n = 0; n < lines; ++n)
        one.push_back("line " + std::to_string(n) + " of a generated file with some words in it");
    std::vector<Planted> planted;
    const Lines two = Edited(one, 1000, random, planted);
    const auto a = LineFile::FromBytes(Joined(one));
    const auto b = LineFile::FromBytes(Joined(two));
    const LineDiff::Settings settings;
    std::vector<LineDiff::Hunk> hunks;
    const double compare = Seconds([&] { hunks = LineDiff::FindHunks(*a, *b, settings); });
    std::vector<MovedLines::Move> found;
    const double search = Seconds([&] { found = MovedLines::Find(*a, *b, hunks, TextNormalizer(settings)); });
    std::printf("\n%ld lines, %zu planted moves: comparison %.3f s, moved-line search %.4f s (%.1f%% of it), "
                "%zu moves found\n",
                lines, planted.size(), compare, search, 100 * search / compare, found.size());
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string seedText = "30";
    std::string pairsText = "200";
    std::string linesText;
    if (const auto stop = BenchArgs::Parse(argc, argv, kUsage,
                                           {{"--seed", "N", "seed of the planted edits", &seedText},
                                            {"--pairs", "N", "pairs of each kind", &pairsText},
                                            {"--lines", "N", "also time a generated pair of N lines", &linesText}}))
        return *stop;
    const auto seed = BenchArgs::Positive(argv[0], "--seed", seedText);
    const auto pairs = BenchArgs::Positive(argv[0], "--pairs", pairsText);
    if (!seed || !pairs)
        return 2;
    const std::vector<std::filesystem::path> files = RealFiles();
    if (files.empty()) {
        std::fprintf(stderr, "moves_bench: no text files found in /usr/share/common-licenses or /usr/include\n");
        return 2;
    }
    std::mt19937_64 random(static_cast<std::uint64_t>(*seed));
    Tally withMoves;
    Tally without;
    for (long k = 0; k < *pairs; ++k) {
        const Lines one = ReadLines(files[static_cast<std::size_t>(random() % files.size())]);
        std::vector<Planted> planted;
        Score(one, Edited(one, 1 + static_cast<int>(random() % 4), random, planted), planted, withMoves);
        std::vector<Planted> none;
        Score(one, Edited(one, 0, random, none), none, without);
    }
    std::printf("%zu real files, %ld pairs of each kind, seed %ld\n", files.size(), *pairs, *seed);
    std::printf("planted runs of 3+ lines found whole: %d of %d\n", withMoves.found, withMoves.planted);
    std::printf("planted runs of 1-2 lines found: %d of %d (found only with 20 letters and digits)\n",
                withMoves.shortFound, withMoves.shortPlanted);
    std::printf("moves found that were not planted: %d on pairs with moves, %d on pairs without\n",
                withMoves.falseMoves, without.falseMoves);
    if (!linesText.empty()) {
        const auto lines = BenchArgs::Positive(argv[0], "--lines", linesText);
        if (!lines)
            return 2;
        TimeLargePair(*lines, random);
    }
    return 0;
}
