#pragma once
// Seeded input pairs of the window benchmarks, written in small pieces so
// that the benchmark process stays small (a child's peak resident size
// counts what it inherited before exec).

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace BenchPairs {

constexpr std::uint64_t kSeed = 20240605;

// About 73 bytes a line, numbered so that lines rarely repeat; about 1% of
// the lines of File Two differ, in blocks of 1 to 10 lines that are changed,
// deleted or inserted.
inline void WriteLinesPair(long lines, const std::string& one, const std::string& two)
{
    std::mt19937_64 rng(kSeed + static_cast<std::uint64_t>(lines));
    const auto text = [&rng](long n, char tag) {
        static const char kWords[] = "abcdefghijklmnopqrstuvwxyz ";
        std::string line = "line " + std::to_string(n) + tag + ' ';
        while (line.size() < 72)
            line += kWords[rng() % (sizeof kWords - 1)];
        return line + '\n';
    };
    std::ofstream a(one, std::ios::binary);
    std::ofstream b(two, std::ios::binary);
    for (long n = 0; n < lines;) {
        const std::string line = text(n, ':');
        if (rng() % 550 != 0) {
            a << line;
            b << line;
            ++n;
            continue;
        }
        const long block = 1 + static_cast<long>(rng() % 10);
        const int kind = static_cast<int>(rng() % 3);  // 0 change, 1 delete, 2 insert
        for (long k = 0; k < block && n < lines; ++k, ++n) {
            const std::string original = k == 0 ? line : text(n, ':');
            if (kind != 2)
                a << original;
            if (kind == 0)
                b << text(n, '*');
            if (kind == 2) {
                a << original;
                b << text(n, '+') << original;
            }
        }
    }
}

// About 73 bytes a line, every line different; File Two has `moves` blocks
// of 1 to 50 of File One's lines cut and pasted elsewhere, and about 1% of
// its other lines changed.
inline void WriteMovesPair(long lines, int moves, const std::string& one, const std::string& two)
{
    std::mt19937_64 rng(kSeed + static_cast<std::uint64_t>(lines) + static_cast<std::uint64_t>(moves));
    const auto text = [](long n, char tag) {
        static const char kWords[] = "abcdefghijklmnopqrstuvwxyz ";
        std::uint64_t x = static_cast<std::uint64_t>(n) * 0x9E3779B97F4A7C15ull + kSeed;
        std::string line = "line " + std::to_string(n) + tag + ' ';
        while (line.size() < 72) {
            x ^= x >> 31;
            x *= 0xBF58476D1CE4E5B9ull;
            line += kWords[(x >> 32) % (sizeof kWords - 1)];
        }
        return line + '\n';
    };
    std::vector<bool> moved(static_cast<std::size_t>(lines), false);
    std::vector<std::pair<long, long>> blocks;
    for (int m = 0; m < moves; ++m) {
        const long count = 1 + static_cast<long>(rng() % 50);
        const long from = static_cast<long>(rng() % static_cast<std::uint64_t>(lines - count));
        if (std::find(moved.begin() + from, moved.begin() + from + count, true) != moved.begin() + from + count)
            continue;
        std::fill(moved.begin() + from, moved.begin() + from + count, true);
        blocks.emplace_back(from, count);
    }
    // Each block lands before a line that stayed, chosen at random.
    std::vector<std::vector<long>> landing(static_cast<std::size_t>(lines) + 1);
    for (const auto& [from, count] : blocks)
        landing[rng() % static_cast<std::uint64_t>(lines + 1)].push_back(from);
    std::ofstream a(one, std::ios::binary);
    std::ofstream b(two, std::ios::binary);
    for (long n = 0; n <= lines; ++n) {
        for (const long from : landing[static_cast<std::size_t>(n)])
            for (long k = from; k < lines && moved[static_cast<std::size_t>(k)]; ++k)
                b << text(k, ':');
        if (n == lines)
            break;
        a << text(n, ':');
        if (!moved[static_cast<std::size_t>(n)])
            b << text(n, rng() % 100 == 0 ? '*' : ':');
    }
}

struct LongLines {
    int lines = 10;               // lines in each file
    std::size_t bytes = 1 << 20;  // length of a long line
    int longEvery = 1;            // every n-th line is long, the others short
    int changeEvery = 3;          // every n-th long line differs in File Two
    int changes = 20;             // characters replaced in such a line
};

// Lines of random lower-case words; a changed long line has `changes`
// characters replaced by '#' in File Two, a changed short line one word.
inline void WriteLongLinesPair(const LongLines& shape, const std::string& one, const std::string& two)
{
    std::mt19937_64 rng(kSeed + shape.bytes + static_cast<std::uint64_t>(shape.lines));
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz     ";
    std::ofstream a(one, std::ios::binary);
    std::ofstream b(two, std::ios::binary);
    int longSeen = 0;
    std::string piece;
    for (int n = 0; n < shape.lines; ++n) {
        const bool isLong = n % shape.longEvery == 0;
        const std::size_t size = isLong ? shape.bytes : 40;
        const bool changed = isLong ? longSeen++ % shape.changeEvery == shape.changeEvery - 1 : n % 7 == 3;
        // Positions of the replaced characters, ascending.
        std::vector<std::size_t> at;
        for (int k = 0; changed && k < (isLong ? shape.changes : 1); ++k)
            at.push_back(rng() % size);
        std::sort(at.begin(), at.end());
        std::size_t next = 0;
        for (std::size_t done = 0; done < size;) {
            piece.resize(std::min<std::size_t>(size - done, 1 << 16));
            for (char& c : piece)
                c = kLetters[rng() % (sizeof kLetters - 1)];
            a << piece;
            for (; next < at.size() && at[next] < done + piece.size(); ++next)
                piece[at[next] - done] = '#';
            b << piece;
            done += piece.size();
        }
        a << '\n';
        b << '\n';
    }
}

}  // namespace BenchPairs
