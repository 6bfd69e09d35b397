#include "BenchInputs.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

using Lines = std::vector<std::string>;

class Words {
public:
    explicit Words(std::mt19937_64& rng) : m_rng(rng)
    {
        const char* letters = "abcdefghijklmnopqrstuvwxyz";
        for (int i = 0; i < 4000; ++i) {
            std::string w;
            const int len = 2 + static_cast<int>(m_rng() % 9);
            for (int k = 0; k < len; ++k)
                w += letters[m_rng() % 26];
            m_words.push_back(w);
        }
    }
    // A code-like line of about `target` bytes, nearly always unique.
    std::string Line(size_t target)
    {
        std::string line(4 * (m_rng() % 4), ' ');
        while (line.size() < target) {
            line += m_words[m_rng() % m_words.size()];
            line += (m_rng() % 5 == 0) ? "(" : " ";
        }
        line += std::to_string(m_rng() % 100000);
        line += ';';
        return line;
    }

private:
    std::mt19937_64& m_rng;
    Lines m_words;
};

void Write(const std::string& path, const Lines& lines)
{
    std::ofstream out(path, std::ios::binary);
    std::string chunk;
    for (const std::string& l : lines) {
        chunk += l;
        chunk += '\n';
        if (chunk.size() > (1 << 20)) {
            out << chunk;
            chunk.clear();
        }
    }
    out << chunk;
}

// Copies `lines` with blocks of 1..maxBlock lines replaced, inserted or
// deleted until about `fraction` of the lines are touched.
Lines EditInBlocks(const Lines& lines, double fraction, size_t maxBlock, std::mt19937_64& rng, Words& words)
{
    Lines out;
    out.reserve(lines.size() + lines.size() / 10);
    const double blockChance = fraction / (static_cast<double>(maxBlock + 1) / 2.0);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (size_t i = 0; i < lines.size();) {
        if (uniform(rng) < blockChance) {
            const size_t len = 1 + rng() % maxBlock;
            const int kind = static_cast<int>(rng() % 3);
            if (kind != 1)  // replace or insert: new lines
                for (size_t k = 0; k < len; ++k)
                    out.push_back(words.Line(66));
            if (kind != 2) {  // replace or delete: drop the old ones
                i += len;
                continue;
            }
        }
        out.push_back(lines[i++]);
    }
    return out;
}

// `lines` with changes the relaxations ignore: CR LF endings throughout,
// or else 2% of lines re-indented with a tab, 1% ending in blanks and 1%
// followed by a blank line.
Lines Relaxed(Lines lines, bool crlf, std::mt19937_64& rng)
{
    Lines out;
    out.reserve(lines.size() + lines.size() / 50);
    for (std::string& line : lines) {
        const auto r = rng() % 100;
        if (crlf)
            line += '\r';
        else if (r < 2)
            line.insert(line.begin(), '\t');  // (not insert(0, "\t"): GCC 12 -O3 warns falsely there)
        else if (r < 3)
            line += " \t";
        out.push_back(std::move(line));
        if (!crlf && r == 3)
            out.emplace_back();
    }
    return out;
}

Lines Fresh(size_t count, size_t width, Words& words)
{
    Lines lines;
    lines.reserve(count);
    for (size_t i = 0; i < count; ++i)
        lines.push_back(words.Line(width));
    return lines;
}

// Source-like text where blanks and closing braces repeat very often.
Lines Repetitive(size_t count, std::mt19937_64& rng, Words& words)
{
    static const char* common[] = {"", "}", "    }", "        }", "{", "    return;", "        break;", ""};
    Lines lines;
    lines.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (rng() % 10 < 6)
            lines.push_back(common[rng() % 8]);
        else
            lines.push_back(words.Line(30));
    }
    return lines;
}

void WriteBinary(const std::string& path, std::uint64_t seed, size_t size, bool flipLast)
{
    std::mt19937_64 rng(seed);
    std::ofstream out(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    for (size_t written = 0; written < size; written += block.size()) {
        for (char& c : block)
            c = static_cast<char>(rng() % 8 == 0 ? 0 : rng());
        if (flipLast && written + block.size() >= size)
            block.back() = static_cast<char>(block.back() ^ 1);
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
}

// Two copies of a source-like tree, 100 folders of 100 files of 20 to 200
// lines; 100 files of the second copy edited.
void WriteTrees(const std::string& one, const std::string& two, std::mt19937_64& rng, Words& words)
{
    for (int folder = 0; folder < 100; ++folder) {
        const std::string sub = "/dir" + std::to_string(folder);
        std::filesystem::create_directories(one + sub);
        std::filesystem::create_directories(two + sub);
        for (int file = 0; file < 100; ++file) {
            const std::string name = sub + "/file" + std::to_string(file) + ".cpp";
            const Lines a = Fresh(20 + rng() % 180, 50, words);
            Write(one + name, a);
            Write(two + name, file == folder % 100 ? EditInBlocks(a, 0.05, 3, rng, words) : a);
        }
    }
}

}  // namespace

std::vector<BenchCase> BenchCases()
{
    return {
        {"1M-1pct", "1,000,000 lines, ~1% changed in blocks"},
        {"1M-1line", "1,000,000 lines, one line changed"},
        {"1M-1pct-unified", "the same pair, unified output", {"-u"}, "1M-1pct"},
        {"1M-1pct -b", "the same pair, white-space changes ignored", {"-b"}, "1M-1pct"},
        {"1M-1pct -Z", "the same pair, trailing blanks ignored", {"-Z"}, "1M-1pct"},
        {"1M-1pct -B", "the same pair, blank-line changes ignored", {"-B"}, "1M-1pct"},
        {"1M-1pct --strip-trailing-cr", "the same pair, CR before LF dropped", {"--strip-trailing-cr"}, "1M-1pct"},
        {"1M-1pct -I", "the same pair, changes of lines matching one expression ignored", {"-I", "^ *z"}, "1M-1pct"},
        {"1M-relaxed -b",
         "1M-1pct with 2% of lines re-indented, 1% with trailing blanks, 1% blank lines inserted",
         {"-b"},
         "1M-relaxed"},
        {"1M-relaxed -Z -B", "the same pair, trailing blanks and blank lines ignored", {"-Z", "-B"}, "1M-relaxed"},
        {"1M-crlf --strip-trailing-cr", "1M-1pct, File Two with CR LF endings", {"--strip-trailing-cr"}, "1M-crlf"},
        {"1M-x-1pct", "1,000,000 lines of \"x\", ~1% changed in blocks"},
        {"1M-empty-1pct", "1,000,000 empty lines, ~1% changed in blocks"},
        {"ab-100k", "100,000 lines each drawn from \"a\"/\"b\", unrelated"},
        {"ab-200k", "the same at 200,000 lines"},
        {"ab-400k", "the same at 400,000 lines"},
        {"ab-800k", "the same at 800,000 lines"},
        {"200MB-line", "one 200 MB line each, one byte differs"},
        {"200k-30pct", "200,000 lines, ~30% changed in blocks"},
        {"50k-shuffled", "50,000 lines, File Two a shuffle of File One"},
        {"50k-disjoint", "50,000 lines each, no line in common"},
        {"repeats", "300,000 lines, 60% blanks/braces, ~5% changed"},
        {"1MB-lines", "ten 1 MB lines, three changed"},
        {"64MiB-binary", "64 MiB binary pair, last byte differs"},
        {"tree-10k", "-r over two trees of 10,000 files in 100 folders, 100 files changed", {"-r"}},
    };
}

bool WriteBenchPair(const std::string& name, std::uint64_t seed, const std::string& one, const std::string& two)
{
    std::mt19937_64 rng(seed);
    Words words(rng);
    if (name == "1M-1pct") {
        const Lines a = Fresh(1000000, 66, words);
        Write(one, a);
        Write(two, EditInBlocks(a, 0.01, 20, rng, words));
    } else if (name == "1M-relaxed" || name == "1M-crlf") {
        const Lines a = Fresh(1000000, 66, words);
        Write(one, a);
        Write(two, Relaxed(EditInBlocks(a, 0.01, 20, rng, words), name == "1M-crlf", rng));
    } else if (name == "1M-1line") {
        Lines a = Fresh(1000000, 66, words);
        Write(one, a);
        a[a.size() / 2] += "!";
        Write(two, a);
    } else if (name == "tree-10k") {
        WriteTrees(one, two, rng, words);
    } else if (name == "200k-30pct") {
        const Lines a = Fresh(200000, 66, words);
        Write(one, a);
        Write(two, EditInBlocks(a, 0.30, 30, rng, words));
    } else if (name == "50k-shuffled") {
        Lines a = Fresh(50000, 50, words);
        Write(one, a);
        std::shuffle(a.begin(), a.end(), rng);
        Write(two, a);
    } else if (name == "50k-disjoint") {
        Write(one, Fresh(50000, 50, words));
        Write(two, Fresh(50000, 50, words));
    } else if (name == "repeats") {
        const Lines a = Repetitive(300000, rng, words);
        Write(one, a);
        Lines b;
        for (const std::string& l : a) {
            const auto r = rng() % 100;
            if (r < 2)
                continue;  // deleted
            if (r < 4)
                b.push_back(rng() % 2 ? std::string("}") : words.Line(30));  // inserted
            b.push_back(r < 5 ? words.Line(30) : l);
        }
        Write(two, b);
    } else if (name == "1MB-lines") {
        Lines a;
        for (int i = 0; i < 10; ++i)
            a.push_back(words.Line(1 << 20));
        Lines b = a;
        for (int i : {1, 4, 8})
            b[static_cast<size_t>(i)][b[static_cast<size_t>(i)].size() / 2] ^= 1;
        Write(one, a);
        Write(two, b);
    } else if (name == "1M-x-1pct" || name == "1M-empty-1pct") {
        const Lines a(1000000, name == "1M-x-1pct" ? "x" : "");
        Write(one, a);
        Write(two, EditInBlocks(a, 0.01, 20, rng, words));
    } else if (name.rfind("ab-", 0) == 0) {
        const size_t count = std::stoul(name.substr(3)) * 1000;
        for (const std::string& path : {one, two}) {
            Lines lines;
            lines.reserve(count);
            for (size_t i = 0; i < count; ++i)
                lines.push_back(rng() % 2 ? "a" : "b");
            Write(path, lines);
        }
    } else if (name == "200MB-line") {
        std::string line(size_t{200} << 20, 'q');
        for (size_t i = 0; i < line.size(); i += 4093)
            line[i] = static_cast<char>('a' + rng() % 26);
        Write(one, {line});
        line[line.size() / 2] ^= 1;
        Write(two, {line});
    } else if (name == "64MiB-binary") {
        WriteBinary(one, seed, size_t{64} << 20, false);
        WriteBinary(two, seed, size_t{64} << 20, true);
    } else {
        return false;
    }
    return true;
}
