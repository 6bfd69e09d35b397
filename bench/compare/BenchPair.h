#pragma once
// The seeded file pair the window benchmarks compare: lines of about 73
// bytes, numbered so that they rarely repeat, about 1% of them changed.

#include <cstdint>
#include <fstream>
#include <random>
#include <string>

namespace BenchPair {

inline constexpr std::uint64_t kSeed = 20240605;

// About 73 bytes a line, numbered so that lines rarely repeat; about 1% of
// the lines of File Two differ, in blocks of 1 to 10 lines that are changed,
// deleted or inserted.
inline void WritePair(long lines, const std::string& one, const std::string& two)
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

}  // namespace BenchPair
