// engine_bench: vantrel-diff beside GNU diff, run alternately in the same
// run on the same inputs. Run with --help for the options.
//
// Per case: best wall time of the runs, the ratio of the best processor
// times (user + system, which a busy machine disturbs far less), peak
// resident memory, and the
// number of changed lines ("<"/">" or "-"/"+" lines) each program printed.
// The floor column is reading both files and hashing every line
// in-process, the least any line comparison must do. Before the cases:
// start-up on a one-line pair; after them: a corpus of real file-history
// pairs (the versions of each file changed by a commit of a git
// repository), timed as a whole.

#include "BenchInputs.h"
#include "../compare/BenchProcess.h"

#include "engine/LineFile.h"
#include "engine/TextNormalizer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "Usage: engine_bench [--runs N] [--seed N] [--work DIR] [--only CASE] [--vantrel PATH]\n"
    "                    [--corpus-repo DIR] [--corpus-pairs N] [--keep]\n"
    "  --runs N          runs per program and case; the best time counts (default 3)\n"
    "  --seed N          seed of the generated inputs\n"
    "  --work DIR        folder for inputs and outputs (default /tmp/vantrel-bench)\n"
    "  --only CASE       run one case, or 'startup' or 'corpus'\n"
    "  --vantrel PATH    the vantrel-diff to measure (default: the one built beside this)\n"
    "  --corpus-repo DIR git repository whose history gives the real pairs (default: the source tree)\n"
    "  --corpus-pairs N  at most N real pairs (default 3000)\n"
    "  --keep            keep the generated inputs\n"
    "  --help            show this text\n";

struct Options {
    std::uint64_t seed = 20240601;
    int runs = 3;
    std::string work = "/tmp/vantrel-bench";
    std::string only;
    std::string vantrel = VANTREL_DIFF_DEFAULT;
    std::string corpusRepo = VANTREL_SOURCE_DEFAULT;
    int corpusPairs = 3000;
    bool keep = false;
};

// Reads every argument before anything runs: an unknown or incomplete one
// ends the program with a message, never with a long run of the defaults.
bool ParseOptions(int argc, char* argv[], Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string key = argv[i];
        if (key == "--help" || key == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (key == "--keep") {
            o.keep = true;
            continue;
        }
        static const char* valued[] = {"--seed",    "--runs",        "--work",        "--only",
                                       "--vantrel", "--corpus-repo", "--corpus-pairs"};
        if (std::find_if(std::begin(valued), std::end(valued), [&](const char* v) { return key == v; })
            == std::end(valued)) {
            std::fprintf(stderr, "engine_bench: unknown argument '%s'\n%s", key.c_str(), kUsage);
            return false;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "engine_bench: %s needs a value\n", key.c_str());
            return false;
        }
        const std::string value = argv[++i];
        char* end = nullptr;
        const long long number = std::strtoll(value.c_str(), &end, 10);
        const bool numeric = !value.empty() && *end == '\0' && number > 0;
        if ((key == "--seed" || key == "--runs" || key == "--corpus-pairs") && !numeric) {
            std::fprintf(stderr, "engine_bench: %s needs a positive number, not '%s'\n", key.c_str(), value.c_str());
            return false;
        }
        if (key == "--seed")
            o.seed = static_cast<std::uint64_t>(number);
        else if (key == "--runs")
            o.runs = static_cast<int>(number);
        else if (key == "--work")
            o.work = value;
        else if (key == "--only")
            o.only = value;
        else if (key == "--vantrel")
            o.vantrel = value;
        else if (key == "--corpus-repo")
            o.corpusRepo = value;
        else
            o.corpusPairs = static_cast<int>(number);
    }
    const std::vector<BenchCase> cases = BenchCases();
    if (!o.only.empty() && o.only != "startup" && o.only != "corpus"
        && std::none_of(cases.begin(), cases.end(), [&](const BenchCase& c) { return c.name == o.only; })) {
        std::fprintf(stderr, "engine_bench: no case named '%s'\n", o.only.c_str());
        return false;
    }
    return true;
}

struct Run {
    double seconds = 1e30;
    double cpuSeconds = 1e30;  // user + system: far less disturbed by a busy machine
    long peakKb = 0;
    int exitCode = -1;
};

Run RunOnce(const std::vector<std::string>& args, const std::string& outPath)
{
    const ProcessRun done = RunProcess(args, outPath);
    return {done.seconds, done.cpuSeconds, done.peakKb, done.exitCode};
}

void KeepBest(Run& best, const Run& run)
{
    best.seconds = std::min(best.seconds, run.seconds);
    best.cpuSeconds = std::min(best.cpuSeconds, run.cpuSeconds);
    best.peakKb = std::max(best.peakKb, run.peakKb);
    best.exitCode = run.exitCode;
}

long CountChanged(const std::string& path, bool unifiedOutput = false)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    long count = 0;
    while (std::getline(in, line)) {
        const bool normal = !line.empty() && (line[0] == '<' || line[0] == '>');
        const bool unified = unifiedOutput && !line.empty() && (line[0] == '-' || line[0] == '+')
                             && line.rfind("--- ", 0) != 0 && line.rfind("+++ ", 0) != 0;
        count += (normal || unified) ? 1 : 0;
    }
    return count;
}

// Reading both files and hashing every line, best of `runs`.
double ReadAndHashFloor(const std::string& one, const std::string& two, int runs)
{
    double best = 1e30;
    const TextNormalizer normalizer{LineDiff::Settings{}};
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        std::uint64_t sink = 0;
        // For two folders, every file in them.
        std::vector<std::string> paths;
        for (const std::string& top : {one, two}) {
            if (!std::filesystem::is_directory(top))
                paths.push_back(top);
            else
                for (const auto& entry : std::filesystem::recursive_directory_iterator(top))
                    if (entry.is_regular_file())
                        paths.push_back(entry.path().string());
        }
        for (const std::string& path : paths) {
            const LineFile::LoadResult loaded = LineFile::Load(path);
            if (!loaded.file)
                return -1;
            for (std::int64_t i = 0; i < loaded.file->LineCount(); ++i)
                sink += normalizer.Hash({loaded.file->RawLine(i), loaded.file->LineLacksNewline(i)});
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, seconds + static_cast<double>(sink % 2) * 0.0);
    }
    return best;
}

// Runs `work` in a child process and returns its result. The benchmark
// itself then never grows: a child forked from a large process would
// inherit its resident size, and the peak measured for the tools with it.
double InChild(const std::function<double()>& work)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const double value = work();
        if (write(fds[1], &value, sizeof value) != sizeof value)
            _exit(1);
        _exit(0);
    }
    close(fds[1]);
    double value = -1;
    if (read(fds[0], &value, sizeof value) != sizeof value)
        value = -1;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return value;
}

double Mb(long kb)
{
    return static_cast<double>(kb) / 1024.0;
}

// The generated cases; returns false when the two programs' codes differ.
bool RunCases(const Options& o, std::map<std::string, std::pair<double, double>>& times)
{
    std::printf("| case | diff s | vantrel s | time ratio | cpu ratio | floor s | vs floor | diff MB | vantrel MB "
                "| mem ratio | diff changed | vantrel changed | codes |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n");
    bool agree = true;
    for (const BenchCase& c : BenchCases()) {
        if (!o.only.empty() && c.name != o.only)
            continue;
        const std::string input = c.input.empty() ? c.name : c.input;
        const std::string one = o.work + "/" + input + ".1";
        const std::string two = o.work + "/" + input + ".2";
        if (!std::filesystem::exists(one) || !std::filesystem::exists(two))
            InChild([&] { return WriteBenchPair(input, o.seed, one, two) ? 1.0 : 0.0; });
        std::vector<std::string> gnuArgs{"diff"};
        std::vector<std::string> ourArgs{o.vantrel};
        for (const std::string& option : c.options) {
            gnuArgs.push_back(option);
            ourArgs.push_back(option);
        }
        for (auto* args : {&gnuArgs, &ourArgs}) {
            args->push_back(one);
            args->push_back(two);
        }
        const bool unified = std::find(c.options.begin(), c.options.end(), "-u") != c.options.end();
        Run gnu;
        Run ours;
        // Alternately, so that a busy moment of the machine hits both.
        for (int r = 0; r < o.runs; ++r) {
            KeepBest(gnu, RunOnce(gnuArgs, o.work + "/out.diff"));
            KeepBest(ours, RunOnce(ourArgs, o.work + "/out.vantrel"));
        }
        const double floor = InChild([&] { return ReadAndHashFloor(one, two, o.runs); });
        times[c.name] = {gnu.cpuSeconds, ours.cpuSeconds};
        std::printf("| %s | %.3f | %.3f | %.2f | %.2f | %.3f | %.1f | %.1f | %.1f | %.2f | %ld | %ld | %d/%d |\n",
                    c.name.c_str(), gnu.seconds, ours.seconds, ours.seconds / gnu.seconds,
                    ours.cpuSeconds / gnu.cpuSeconds, floor, ours.seconds / floor, Mb(gnu.peakKb), Mb(ours.peakKb),
                    static_cast<double>(ours.peakKb) / static_cast<double>(gnu.peakKb),
                    CountChanged(o.work + "/out.diff", unified), CountChanged(o.work + "/out.vantrel", unified),
                    gnu.exitCode, ours.exitCode);
        std::fflush(stdout);
        agree = agree && gnu.exitCode == ours.exitCode;
        const bool usedLater = input == "1M-1pct" || input == "1M-relaxed";
        if (!o.keep && !usedLater) {
            std::filesystem::remove_all(one);
            std::filesystem::remove_all(two);
        }
    }
    return agree;
}

void PrintGrowth(const std::map<std::string, std::pair<double, double>>& times)
{
    const char* sizes[] = {"ab-100k", "ab-200k", "ab-400k", "ab-800k"};
    std::string gnu;
    std::string ours;
    for (int i = 0; i + 1 < 4; ++i) {
        const auto a = times.find(sizes[i]);
        const auto b = times.find(sizes[i + 1]);
        if (a == times.end() || b == times.end())
            continue;
        char text[64];
        std::snprintf(text, sizeof text, " %.2f", b->second.first / a->second.first);
        gnu += text;
        std::snprintf(text, sizeof text, " %.2f", b->second.second / a->second.second);
        ours += text;
    }
    if (!gnu.empty())
        std::printf("\ncpu time growth per doubling, tiny alphabet (ab-100k to ab-800k): diff%s, vantrel-diff%s\n",
                    gnu.c_str(), ours.c_str());
}

// Start-up: many runs on a one-line pair, alternately.
void RunStartup(const Options& o)
{
    const std::string tiny1 = o.work + "/tiny.1";
    const std::string tiny2 = o.work + "/tiny.2";
    std::ofstream(tiny1) << "a\n";
    std::ofstream(tiny2) << "b\n";
    constexpr int kRuns = 300;
    double gnuTotal = 0;
    double ourTotal = 0;
    double gnuCpu = 0;
    double ourCpu = 0;
    long gnuPeak = 0;
    long ourPeak = 0;
    for (int r = 0; r < kRuns; ++r) {
        const Run gnu = RunOnce({"diff", tiny1, tiny2}, o.work + "/out.diff");
        const Run ours = RunOnce({o.vantrel, tiny1, tiny2}, o.work + "/out.vantrel");
        gnuTotal += gnu.seconds;
        ourTotal += ours.seconds;
        gnuCpu += gnu.cpuSeconds;
        ourCpu += ours.cpuSeconds;
        gnuPeak = std::max(gnuPeak, gnu.peakKb);
        ourPeak = std::max(ourPeak, ours.peakKb);
    }
    std::printf("start-up on a one-line pair (%d runs each): diff %.2f ms %.1f MB, vantrel-diff %.2f ms %.1f MB; "
                "ratios %.2f time, %.2f cpu, %.2f memory\n\n",
                kRuns, 1000 * gnuTotal / kRuns, Mb(gnuPeak), 1000 * ourTotal / kRuns, Mb(ourPeak), ourTotal / gnuTotal,
                ourCpu / gnuCpu, static_cast<double>(ourPeak) / static_cast<double>(gnuPeak));
}

// Writes the real pairs: both versions of every file a commit modified.
int WriteCorpus(const Options& o, const std::string& dir)
{
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string git = "git -C '" + o.corpusRepo + "' ";
    FILE* log = popen((git + "log --format=%H --no-merges 2>/dev/null").c_str(), "r");
    if (!log)
        return 0;
    std::vector<std::string> commits;
    char line[4096];
    while (std::fgets(line, sizeof line, log))
        commits.emplace_back(line, strcspn(line, "\n"));
    pclose(log);
    int pairs = 0;
    for (const std::string& commit : commits) {
        FILE* tree = popen((git + "diff-tree -r --no-commit-id --diff-filter=M " + commit).c_str(), "r");
        if (!tree)
            break;
        while (pairs < o.corpusPairs && std::fgets(line, sizeof line, tree)) {
            // ":100644 100644 OLD NEW M\tpath"
            char oldSha[64];
            char newSha[64];
            if (std::sscanf(line, ":%*s %*s %63s %63s", oldSha, newSha) != 2)
                continue;
            const std::string base = dir + "/" + std::to_string(pairs);
            const std::string cmd = git + "cat-file blob " + oldSha + " > '" + base + ".1' && " + git + "cat-file blob "
                                    + newSha + " > '" + base + ".2'";
            if (std::system(cmd.c_str()) == 0)
                ++pairs;
        }
        pclose(tree);
        if (pairs >= o.corpusPairs)
            break;
    }
    return pairs;
}

// Whole-corpus time of each program, best of `runs`, alternately.
void RunCorpus(const Options& o)
{
    const std::string dir = o.work + "/corpus";
    const int pairs = WriteCorpus(o, dir);
    if (pairs == 0) {
        std::printf("\ncorpus: no pairs found in %s\n", o.corpusRepo.c_str());
        return;
    }
    double gnuBest = 1e30;
    double ourBest = 1e30;
    double gnuCpu = 1e30;
    double ourCpu = 1e30;
    int codesDiffer = 0;
    long gnuChanged = 0;
    long ourChanged = 0;
    for (int r = 0; r < o.runs; ++r) {
        double gnuTotal = 0;
        double ourTotal = 0;
        double gnuCpuTotal = 0;
        double ourCpuTotal = 0;
        for (int p = 0; p < pairs; ++p) {
            const std::string base = dir + "/" + std::to_string(p);
            const Run gnu = RunOnce({"diff", base + ".1", base + ".2"}, o.work + "/out.diff");
            const Run ours = RunOnce({o.vantrel, base + ".1", base + ".2"}, o.work + "/out.vantrel");
            gnuTotal += gnu.seconds;
            ourTotal += ours.seconds;
            gnuCpuTotal += gnu.cpuSeconds;
            ourCpuTotal += ours.cpuSeconds;
            if (r == 0) {
                codesDiffer += gnu.exitCode != ours.exitCode;
                gnuChanged += CountChanged(o.work + "/out.diff");
                ourChanged += CountChanged(o.work + "/out.vantrel");
            }
        }
        gnuBest = std::min(gnuBest, gnuTotal);
        ourBest = std::min(ourBest, ourTotal);
        gnuCpu = std::min(gnuCpu, gnuCpuTotal);
        ourCpu = std::min(ourCpu, ourCpuTotal);
    }
    std::printf("\ncorpus of %d real pairs from %s: diff %.3f s, vantrel-diff %.3f s, ratio %.2f (cpu ratio %.2f); "
                "changed lines diff %ld, vantrel-diff %ld; pairs whose codes differ: %d\n",
                pairs, o.corpusRepo.c_str(), gnuBest, ourBest, ourBest / gnuBest, ourCpu / gnuCpu, gnuChanged,
                ourChanged, codesDiffer);
    if (!o.keep)
        std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char* argv[])
{
    Options o;
    if (!ParseOptions(argc, argv, o))
        return 2;
    std::filesystem::create_directories(o.work);
    std::printf("seed %llu, best of %d runs, peak RSS from wait4; ratios are vantrel-diff / diff\n\n",
                static_cast<unsigned long long>(o.seed), o.runs);
    // Start-up first: a forked child's peak memory counts the benchmark's
    // own size before the program replaces it, and that is smallest now.
    if (o.only.empty() || o.only == "startup")
        RunStartup(o);
    std::map<std::string, std::pair<double, double>> times;
    bool agree = true;
    if (o.only != "startup" && o.only != "corpus")
        agree = RunCases(o, times);
    PrintGrowth(times);
    if (o.only.empty() || o.only == "corpus")
        RunCorpus(o);
    if (!o.keep) {
        std::filesystem::remove(o.work + "/1M-1pct.1");
        std::filesystem::remove(o.work + "/1M-1pct.2");
        std::filesystem::remove(o.work + "/1M-relaxed.1");
        std::filesystem::remove(o.work + "/1M-relaxed.2");
    }
    return agree ? 0 : 1;
}
