// engine_bench [--seed N] [--runs N] [--work DIR] [--only CASE] [--vantrel PATH] [--keep 1]
//
// Generates each seeded input pair, runs GNU diff and vantrel-diff on it
// (same machine, same run, output to a file) and prints per case: best
// wall time of the runs, the peak resident memory, and the number of
// changed lines ("<" and ">" lines) each tool printed. The floor column is
// reading both files and hashing every line in-process, the least any
// line comparison must do.

#include "BenchInputs.h"

#include "engine/LineFile.h"
#include "engine/TextNormalizer.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Run {
    double seconds = 1e30;
    long peakKb = 0;
    int exitCode = -1;
    long changed = 0;
};

long CountChanged(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    long count = 0;
    while (std::getline(in, line))
        count += (!line.empty() && (line[0] == '<' || line[0] == '>')) ? 1 : 0;
    return count;
}

Run RunTool(const std::vector<std::string>& args, const std::string& outPath, int runs)
{
    Run best;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            const int fd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            std::vector<char*> argv;
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best.seconds = std::min(best.seconds, seconds);
        best.peakKb = std::max(best.peakKb, usage.ru_maxrss);
        best.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    best.changed = CountChanged(outPath);
    return best;
}

// Reading both files and hashing every line, best of `runs`.
double ReadAndHashFloor(const std::string& one, const std::string& two, int runs)
{
    double best = 1e30;
    const TextNormalizer normalizer(false, false);
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        std::uint64_t sink = 0;
        for (const std::string& path : {one, two}) {
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

}  // namespace

int main(int argc, char* argv[])
{
    std::uint64_t seed = 20240601;
    int runs = 3;
    std::string work = "/tmp/vantrel-bench";
    std::string only;
    bool keep = false;
    std::string vantrel = VANTREL_DIFF_DEFAULT;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const std::string value = argv[i + 1];
        if (key == "--seed") seed = std::strtoull(value.c_str(), nullptr, 10);
        else if (key == "--runs") runs = std::max(1, std::atoi(value.c_str()));
        else if (key == "--work") work = value;
        else if (key == "--only") only = value;
        else if (key == "--keep") keep = value == "1";
        else if (key == "--vantrel") vantrel = value;
        else {
            std::fprintf(stderr, "unknown option %s\n", key.c_str());
            return 2;
        }
    }
    std::filesystem::create_directories(work);
    std::printf("seed %llu, best of %d runs, peak RSS from wait4; ratios are vantrel-diff / diff\n\n",
                static_cast<unsigned long long>(seed), runs);
    // Each program's resident size on a one-line pair: mostly its shared
    // libraries (for vantrel-diff QtCore with ICU and glib). The last memory
    // column compares what each program needs beyond that.
    const std::string tiny1 = work + "/tiny.1";
    const std::string tiny2 = work + "/tiny.2";
    std::ofstream(tiny1) << "a\n";
    std::ofstream(tiny2) << "b\n";
    const long gnuBase = RunTool({"diff", tiny1, tiny2}, work + "/out.diff", runs).peakKb;
    const long ourBase = RunTool({vantrel, tiny1, tiny2}, work + "/out.vantrel", runs).peakKb;
    std::printf("start-up resident size: diff %.1f MB, vantrel-diff %.1f MB\n\n", static_cast<double>(gnuBase) / 1024.0,
                static_cast<double>(ourBase) / 1024.0);
    std::printf("| case | diff s | vantrel s | time ratio | floor s | vs floor | diff MB | vantrel MB | mem ratio "
                "| mem ratio beyond start-up | diff changed | vantrel changed | codes |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n");
    int worst = 0;
    for (const BenchCase& c : BenchCases()) {
        if (!only.empty() && c.name != only)
            continue;
        const std::string one = work + "/" + c.name + ".1";
        const std::string two = work + "/" + c.name + ".2";
        InChild([&] { return WriteBenchPair(c.name, seed, one, two) ? 1.0 : 0.0; });
        const Run gnu = RunTool({"diff", one, two}, work + "/out.diff", runs);
        const Run ours = RunTool({vantrel, one, two}, work + "/out.vantrel", runs);
        const double floor = InChild([&] { return ReadAndHashFloor(one, two, runs); });
        // Below half a megabyte beyond start-up the ratio says nothing.
        char beyond[32] = "-";
        if (gnu.peakKb - gnuBase >= 512)
            std::snprintf(beyond, sizeof beyond, "%.2f",
                          static_cast<double>(ours.peakKb - ourBase) / static_cast<double>(gnu.peakKb - gnuBase));
        std::printf("| %s | %.3f | %.3f | %.2f | %.3f | %.1f | %.1f | %.1f | %.2f | %s | %ld | %ld | %d/%d |\n",
                    c.name.c_str(), gnu.seconds, ours.seconds, ours.seconds / gnu.seconds, floor,
                    ours.seconds / floor, static_cast<double>(gnu.peakKb) / 1024.0,
                    static_cast<double>(ours.peakKb) / 1024.0,
                    static_cast<double>(ours.peakKb) / static_cast<double>(gnu.peakKb), beyond, gnu.changed, ours.changed,
                    gnu.exitCode, ours.exitCode);
        std::fflush(stdout);
        if (gnu.exitCode != ours.exitCode)
            worst = 1;
        if (!keep) {
            std::filesystem::remove(one);
            std::filesystem::remove(two);
        }
    }
    return worst;
}
