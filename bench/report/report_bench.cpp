// report_bench: the HTML report of the million-line pair with about 1% of
// its lines changed (engine_bench's 1M-1pct), every row written, beside GNU
// diff's side-by-side text of the same pair (diff -y), run alternately in
// the same run: `vantrel-diff --html`, and the window's File > Save Report
// of the same pair shown. Each program runs in a child process of its own,
// so wait4's peak resident size belongs to it; the best wall and processor
// times of the runs count. The window's child compares the pair first and
// times the saving alone, with what the saving added to its resident size
// beyond the comparison it holds (VmHWM after resetting it through
// /proc/self/clear_refs).
//
//   report_bench [--runs N] [--work DIR] [--vantrel PATH] [--seed N]
//   report_bench --window ONE TWO HTML [--folded]   (one Save Report, folded as
//                                                   Hide Unchanged Lines folds;
//                                                   prints its figures)

#include "../BenchArgs.h"
#include "../compare/BenchProcess.h"
#include "../engine/BenchInputs.h"

#include "compare/ComparisonModel.h"
#include "compare/ComparisonSave.h"
#include "engine/Comparison.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The report must take at most this many times diff -y's time.
constexpr double kMostTimes = 2.0;

long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

int SaveReportChild(char* argv[], bool folded)
{
    InputFile one(argv[2]);
    InputFile two(argv[3]);
    const Comparison c = CompareInputs(one, two, CompareSettings{});
    if (c.outcome != Outcome::Different)
        return 1;
    ComparisonModel model;
    if (folded)
        model.SetFolding(3);
    (void)model.Show(c.files[0], c.files[1], c.hunks);
    // From here on VmHWM is the peak of the saving alone.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKb("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    const QString error = ComparisonSave::SaveReport(model, QString::fromLocal8Bit(argv[4]), false, {});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("save-seconds %.6f rss-before-kb %ld peak-kb %ld\n", seconds, before, StatusKb("VmHWM:"));
    return error.isEmpty() ? 0 : 1;
}

struct Measure {
    double seconds = 1e30;  // best wall time
    double cpuSeconds = 1e30;
    long peakKb = 0;  // largest peak resident size of the runs
    int exitCode = -1;
    std::string out;  // the last run's standard output
};

void Keep(Measure& best, ProcessRun run)
{
    best.seconds = std::min(best.seconds, run.seconds);
    best.cpuSeconds = std::min(best.cpuSeconds, run.cpuSeconds);
    best.peakKb = std::max(best.peakKb, run.peakKb);
    best.exitCode = run.exitCode;
    best.out = std::move(run.out);
}

double Mb(long kb)
{
    return static_cast<double>(kb) / 1024;
}

void PrintRow(const char* what, const Measure& m, const Measure& diff, long bytes)
{
    const double ratio = m.seconds / diff.seconds;
    std::printf("%-22s %8.3f %8.3f %8.1f %9.1f %6.2f %6.2f %6.2f  %s\n", what, m.seconds, m.cpuSeconds, Mb(m.peakKb),
                static_cast<double>(bytes) / 1e6, ratio, m.cpuSeconds / diff.cpuSeconds,
                static_cast<double>(m.peakKb) / static_cast<double>(diff.peakKb), ratio <= kMostTimes ? "ok" : "SLOW");
}

}  // namespace

int main(int argc, char* argv[])
{
    if ((argc == 5 || argc == 6) && std::strcmp(argv[1], "--window") == 0)
        return SaveReportChild(argv, argc == 6);
    std::string runsText = "3", seedText = "20240601", work = "/tmp/vantrel-report-bench",
                vantrel = VANTREL_DIFF_DEFAULT;
    if (const auto stop = BenchArgs::Parse(
            argc, argv,
            "report_bench [--runs N] [--work DIR] [--vantrel PATH] [--seed N]\n"
            "vantrel-diff --html and the window's Save Report of the 1M-1pct pair beside diff -y, alternately.",
            {{"--runs", "N", "best of N runs", &runsText},
             {"--work", "DIR", "folder for the pair and the outputs", &work},
             {"--vantrel", "PATH", "the vantrel-diff to measure", &vantrel},
             {"--seed", "N", "seed of the generated pair", &seedText}}))
        return *stop;
    const auto runs = BenchArgs::Positive(argv[0], "--runs", runsText);
    const auto seed = BenchArgs::Positive(argv[0], "--seed", seedText);
    if (!runs || !seed)
        return 2;
    std::filesystem::create_directories(work);
    const std::string one = work + "/1M-1pct.1", two = work + "/1M-1pct.2";
    // Written by a child: a process forked from a large one starts at its
    // size, and the children measured later would be measured from it.
    if (!std::filesystem::exists(one) || !std::filesystem::exists(two)) {
        const pid_t writer = fork();
        if (writer == 0)
            _exit(WriteBenchPair("1M-1pct", static_cast<std::uint64_t>(*seed), one, two) ? 0 : 1);
        int status = 0;
        if (waitpid(writer, &status, 0) != writer || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return 1;
    }
    const std::string side = work + "/out.txt", page = work + "/out.html", saved = work + "/saved.html";
    Measure diff;
    Measure html;
    Measure window;
    Measure folded;
    // Alternately, so that a busy moment of the machine hits all three.
    for (long r = 0; r < *runs; ++r) {
        Keep(diff, RunProcess({"diff", "-y", one, two}, side));
        Keep(html, RunProcess({vantrel, "--html", one, two}, page));
        Keep(window, RunProcess({argv[0], "--window", one, two, saved}));
        Keep(folded, RunProcess({argv[0], "--window", one, two, saved + ".folded", "--folded"}));
    }
    const double saveSeconds = ValueAfter(window.out, "save-seconds");
    const double addedMb = (ValueAfter(window.out, "peak-kb") - ValueAfter(window.out, "rss-before-kb")) / 1024;
    std::printf("1M-1pct: %.1f MB of files, best of %ld runs, peak RSS from wait4; ratios against diff -y\n\n",
                static_cast<double>(FileSize(one) + FileSize(two)) / 1e6, *runs);
    std::printf("%-22s %8s %8s %8s %9s %6s %6s %6s\n", "", "time s", "cpu s", "peak MB", "output MB", "time", "cpu",
                "memory");
    PrintRow("diff -y", diff, diff, FileSize(side));
    PrintRow("vantrel-diff --html", html, diff, FileSize(page));
    std::printf("\nwindow, Save Report: %.3f s (%.2f x diff -y), %.1f MB added to the comparison's %.1f MB\n",
                saveSeconds, saveSeconds / diff.seconds, addedMb, ValueAfter(window.out, "rss-before-kb") / 1024);
    std::printf("window, Save Report with Hide Unchanged Lines (3 lines of context): %.3f s, %.1f MB written "
                "(goal: under 0.5 s)\n",
                ValueAfter(folded.out, "save-seconds"), static_cast<double>(FileSize(saved + ".folded")) / 1e6);
    const bool ok = diff.exitCode == 1 && html.exitCode == 1 && window.exitCode == 0 && folded.exitCode == 0;
    if (!ok)
        std::printf("exit codes: diff %d, vantrel-diff %d, window %d\n", diff.exitCode, html.exitCode, window.exitCode);
    return ok && html.seconds <= kMostTimes * diff.seconds ? 0 : 1;
}
