// Times the Compare command of the offscreen main window, from the click to
// the first painted frame (both grids, the difference bar and the detail
// pane painted), beside GNU diff on the same files, the two run one after
// the other in each round. Each measurement runs in a child process of its
// own, so the peak resident size wait4 reports belongs to that run alone.

#include "../BenchArgs.h"
#include "BenchPairs.h"
#include "BenchProcess.h"
#include "BenchWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const char kUsage[] =
    "compare_bench [--runs N] [--work DIR] [--max-lines N] [--only CASE] [--accessibility yes]\n"
    "The Compare command in the offscreen window, click to first painted frame, against GNU diff.\n"
    "With --accessibility yes, the window runs on the X display instead, once with accessibility\n"
    "off and once on (run it in scripts/atspi-session --listen, where a listener hears every event).\n"
    "Cases: 10000, 100000, 1000000 (lines, up to --max-lines), 1000000-filters (three line\n"
    "filters on), 1000000-moves and 1000000-moves-off (1,000 blocks moved, moved lines shown\n"
    "or not), 10x1MB-lines, 1x50MB-line.";

// Three filters of the kinds users write: a numbered line stamp (a tenth
// of the lines match), a word that is rare, and a date stamp that never
// matches.
const QList<cViewFileDiffsOptions::LineFilter> kBenchFilters{
    {QStringLiteral("^line \\d*7:"), true},
    {QStringLiteral("zzzz"), true},
    {QStringLiteral("Generated on \\d{4}-\\d\\d-\\d\\d"), true}};

struct Case {
    std::string name;
    std::function<void(const std::string&, const std::string&)> write;
    bool filters = false;  // the window compares with kBenchFilters on
    bool noMoves = false;  // the window compares with moved lines not shown
};

std::vector<Case> Cases(long maxLines)
{
    std::vector<Case> cases;
    for (long lines = 10000; lines <= maxLines; lines *= 10)
        cases.push_back({std::to_string(lines), [lines](const std::string& a, const std::string& b) {
                             BenchPairs::WriteLinesPair(lines, a, b);
                         }});
    if (maxLines >= 1000000)
        cases.push_back({"1000000-filters",
                         [](const std::string& a, const std::string& b) { BenchPairs::WriteLinesPair(1000000, a, b); },
                         true});
    if (maxLines >= 1000000) {
        const auto moves = [](const std::string& a, const std::string& b) {
            BenchPairs::WriteMovesPair(1000000, 1000, a, b);
        };
        cases.push_back({"1000000-moves", moves});
        cases.push_back({"1000000-moves-off", moves, false, true});
    }
    cases.push_back({"10x1MB-lines", [](const std::string& a, const std::string& b) {
                         BenchPairs::WriteLongLinesPair({10, 1 << 20, 1, 3, 20}, a, b);
                     }});
    cases.push_back({"1x50MB-line", [](const std::string& a, const std::string& b) {
                         BenchPairs::WriteLongLinesPair({1, 50'000'000, 1, 1, 20}, a, b);
                     }});
    return cases;
}

struct Best {
    double seconds = 1e30;
    long peakKb = 0;
    double command = 1e30;  // the child's click to command returned
    double painted = 1e30;  // the child's click to first painted frame
    bool ok = true;
    void Add(const ProcessRun& run)
    {
        seconds = std::min(seconds, run.seconds);
        peakKb = std::max(peakKb, run.peakKb);
        const double c = ValueAfter(run.out, "command-seconds");
        const double p = ValueAfter(run.out, "painted-seconds");
        ok = ok && run.exitCode == 0 && c >= 0 && p >= 0;
        command = std::min(command, c < 0 ? 1e30 : c);
        painted = std::min(painted, p < 0 ? 1e30 : p);
    }
};

bool HasOption(int argc, char* argv[], const char* option)
{
    for (int i = 4; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

// Waits, when asked to, for the accessibility bridge to come up on the
// display's bus.
bool AccessibilityActive(bool wait)
{
    const auto start = std::chrono::steady_clock::now();
    while (wait && !QAccessible::isActive() && SecondsSince(start) < 10)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return QAccessible::isActive();
}

// One Compare in a fresh window; prints its times and exits.
int RunChild(int argc, char* argv[], const char* one, const char* two)
{
    const bool accessible = HasOption(argc, argv, "--xcb-accessible");
    if (accessible)
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    const bool xcb = accessible || HasOption(argc, argv, "--xcb");
    BenchWindow window(argc, argv, xcb ? "xcb" : "offscreen");
    if (!window.Open())
        return 2;
    if (HasOption(argc, argv, "--filters"))
        modVantrel::gOptions->LineFilters = kBenchFilters;
    if (HasOption(argc, argv, "--no-moves"))
        modVantrel::gOptions->ShowMovedLines = false;
    window.SetPaths(QString::fromLocal8Bit(one), QString::fromLocal8Bit(two));
    PaintWatch watch(window.Panes());
    watch.Wait(10);  // the empty window's own first frame
    // The variant is what it says: accessibility on exactly when asked for.
    if (AccessibilityActive(accessible) != accessible)
        return 3;
    watch.Reset();
    const auto start = std::chrono::steady_clock::now();
    window.Run("mnuFileCompare");
    const double command = SecondsSince(start);
    const bool painted = watch.Wait();
    const double frame = std::chrono::duration<double>(watch.Completed() - start).count();
    const int rows = window.Grid(1)->Rows();
    const ComparisonModel& model = window.form->Model();
    const bool filled = rows > 2 && rows == window.Grid(2)->Rows();
    const bool onFirst = model.FirstDiff() && model.CurrentRow() == *model.FirstDiff();
    const bool ok = painted && filled && onFirst && window.prompts.messages == 0;
    std::printf("command-seconds %.6f painted-seconds %.6f rows %d ok %d\n", command, frame, rows, ok ? 1 : 0);
    std::fflush(stdout);
    // Tearing the window down is not part of the command.
    _exit(ok ? 0 : 1);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv, argv[2], argv[3]);
    std::string runsText = "3";
    std::string work = "/tmp/vantrel-compare-bench";
    std::string maxLinesText = "1000000";
    std::string only;
    std::string accessibility = "no";
    if (const auto stop = BenchArgs::Parse(
            argc, argv, kUsage,
            {{"--runs", "N", "rounds; the best time and largest memory count", &runsText},
             {"--work", "DIR", "folder for the generated files", &work},
             {"--max-lines", "N", "largest line-count case", &maxLinesText},
             {"--only", "CASE", "run this case alone", &only},
             {"--accessibility", "yes", "the window on the X display, accessibility off and on", &accessibility}}))
        return *stop;
    const auto runs = BenchArgs::Positive(argv[0], "--runs", runsText);
    const auto maxLines = BenchArgs::Positive(argv[0], "--max-lines", maxLinesText);
    if (!runs || !maxLines)
        return 2;
    if (accessibility != "yes" && accessibility != "no") {
        std::fprintf(stderr, "%s: --accessibility is yes or no\n", argv[0]);
        return 2;
    }
    // Each variant is a row of its own: the child's option and its label.
    const std::vector<std::pair<std::string, std::string>> variants =
        accessibility == "yes"
            ? std::vector<std::pair<std::string, std::string>>{{"--xcb", " a11y off"}, {"--xcb-accessible", " a11y on"}}
            : std::vector<std::pair<std::string, std::string>>{{"", ""}};
    std::vector<Case> cases = Cases(*maxLines);
    if (!only.empty()) {
        std::erase_if(cases, [&](const Case& c) { return c.name != only; });
        if (cases.empty()) {
            std::fprintf(stderr, "%s: no case named %s (see --help)\n", argv[0], only.c_str());
            return 2;
        }
    }
    mkdir(work.c_str(), 0755);
    std::printf("seed %llu, best of %ld rounds of diff then the window (peak RSS: largest of the runs, from wait4)\n",
                static_cast<unsigned long long>(BenchPairs::kSeed), *runs);
    std::printf("%-18s %9s | %8s %8s | %8s %8s %8s %8s | %8s %9s | %s\n", "case", "inputs MB", "diff s", "diff MB",
                "cmd s", "frame s", "proc s", "proc MB", "frame/diff", "MB/inputs", "result");
    int failed = 0;
    for (const Case& c : cases) {
        const std::string one = work + "/one-" + c.name + ".txt";
        const std::string two = work + "/two-" + c.name + ".txt";
        c.write(one, two);
        const double inputsMb = static_cast<double>(FileSize(one) + FileSize(two)) / 1e6;
        Best diff;
        std::vector<Best> windows(variants.size());
        for (long r = 0; r < *runs; ++r) {
            const ProcessRun d = RunProcess({"diff", one, two});
            diff.seconds = std::min(diff.seconds, d.seconds);
            diff.peakKb = std::max(diff.peakKb, d.peakKb);
            // The variants take turns at going first, so that none gains from
            // the files the one before it left in the cache.
            for (std::size_t k = 0; k < variants.size(); ++k) {
                const std::size_t v = r % 2 == 0 ? k : variants.size() - 1 - k;
                std::vector<std::string> child{argv[0], "--child", one, two};
                if (c.filters)
                    child.emplace_back("--filters");
                if (c.noMoves)
                    child.emplace_back("--no-moves");
                if (!variants[v].first.empty())
                    child.push_back(variants[v].first);
                windows[v].Add(RunProcess(child));
            }
        }
        for (std::size_t v = 0; v < variants.size(); ++v) {
            const Best& window = windows[v];
            const double procMb = static_cast<double>(window.peakKb) * 1024 / 1e6;
            std::printf("%-18s %9.1f | %8.3f %8.1f | %8.3f %8.3f %8.3f %8.1f | %10.2f %9.2f | %s\n",
                        (c.name + variants[v].second).c_str(), inputsMb, diff.seconds,
                        static_cast<double>(diff.peakKb) * 1024 / 1e6, window.command, window.painted, window.seconds,
                        procMb, window.painted / diff.seconds, procMb / inputsMb, window.ok ? "ok" : "FAILED");
            failed += window.ok ? 0 : 1;
        }
        std::fflush(stdout);
        std::remove(one.c_str());
        std::remove(two.c_str());
    }
    std::printf("\ncmd s: click to the Compare command's return; frame s: click to the first painted frame\n"
                "(grids, difference bar and detail pane painted); proc s / proc MB: the whole offscreen\n"
                "program around it (start-up included). result ok: grids filled, first difference\n"
                "selected, no message shown, every pane painted.\n");
    return failed == 0 ? 0 : 1;
}
