// Find over the displayed 1,000,000-line comparison, beside `grep -c -i -F`
// over the same two files (run alternately in the same run), and the
// bookmark commands with 100,000 bookmarks.
//
//   find_bench [--runs N] [--lines N] [--work DIR]

#include "../BenchArgs.h"
#include "BenchPairs.h"
#include "BenchWindow.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seconds of one `grep -c -i -F TEXT ONE TWO`; its counts go nowhere.
double TimeGrep(const std::string& text, const std::string& one, const std::string& two)
{
    std::fflush(stdout);  // the child must not write our buffered lines again
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout))
            _exit(127);
        execlp("grep", "grep", "-c", "-i", "-F", "--", text.c_str(), one.c_str(), two.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return Since(start);
}

// Kilobytes of a /proc/self/status field such as "VmRSS:".
long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string name;
    long value = 0;
    while (status >> name) {
        if (name == field && status >> value)
            return value;
    }
    return -1;
}

// Resets the peak resident size, so that VmHWM afterwards is the peak of
// what ran since.
void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Find as the command runs it from `row`, in the displayed comparison.
void TimeFind(const ComparisonModel& model, std::int32_t row, const char* label, const std::string& text, int runs,
              const std::string& one, const std::string& two)
{
    double grep = 1e30, find = 1e30;
    long extraKb = 0;
    bool found = false;
    for (int r = 0; r < runs; ++r) {
        grep = std::min(grep, TimeGrep(text, one, two));
        ResetPeak();
        const long before = StatusKb("VmRSS:");
        const auto start = Clock::now();
        found = model.Find(QString::fromStdString(text), ComparisonModel::FindDirection::Both, row).has_value();
        find = std::min(find, Since(start));
        extraKb = std::max(extraKb, StatusKb("VmHWM:") - before);
    }
    std::printf("%-32s %9.3f %9.3f %7.2f %9ld %s\n", label, grep, find, find / grep, extraKb,
                found ? "FOUND (should not)" : "not found");
}

// The bookmark commands from rows grid one is moved to as by its keys;
// next and previous as their commands search, from the current row.
void TimeBookmarks(const BenchWindow& window, int count)
{
    VGrid* grid = window.Grid(1);
    const ComparisonModel& model = window.form->Model();
    const int rows = grid->Rows() - 1;
    const int step = std::max(1, rows / count);
    std::vector<double> times;
    const auto timeOne = [&](auto&& operation) {
        const auto start = Clock::now();
        operation();
        times.push_back(Since(start));
    };
    // Median, 99th percentile and worst in milliseconds; a single slow step
    // on a shared machine is usually another process, so all three are shown.
    const auto report = [&times](const char* what) {
        const auto slowest = std::max_element(times.begin(), times.end()) - times.begin();
        std::sort(times.begin(), times.end());
        const auto at = [&times](double q) {
            return times[static_cast<std::size_t>(q * static_cast<double>(times.size() - 1))] * 1e3;
        };
        std::printf("%-36s %9.4f %9.4f %9.3f (step %ld)\n", what, at(0.5), at(0.99), times.back() * 1e3,
                    static_cast<long>(slowest));
        times.clear();
    };
    std::printf("%-36s %9s %9s %9s\n", "bookmark command", "median ms", "p99 ms", "worst ms");
    int toggled = 0;
    // Added in an order that is not ascending, so each lands inside the list.
    for (int k = 0; k < count; ++k, ++toggled) {
        const int row = 1 + static_cast<int>((static_cast<long>(k) * 7919 % count) * step) % rows;
        grid->MoveCurrentRow(row);
        timeOne([&] { window.Run("mnuFileToggleBookmark"); });
    }
    report(("toggle on, up to " + std::to_string(toggled)).c_str());
    for (int k = 0; k < 10000; ++k) {
        grid->MoveCurrentRow(1 + (k * 104729) % rows);
        timeOne([&] {
            (void)(k % 2 ? model.NextBookmark(model.CurrentRow()) : model.PreviousBookmark(model.CurrentRow()));
        });
    }
    report("next / previous bookmark");
    for (int k = 0; k < 1000; ++k) {
        grid->MoveCurrentRow(1 + static_cast<int>((static_cast<long>(k) * 7919 % count) * step) % rows);
        timeOne([&] { window.Run("mnuFileToggleBookmark"); });
    }
    report("toggle off");
    timeOne([&] { window.Run("mnuFileClearAllBookmarks"); });
    report("clear all");
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string runsText = "3", linesText = "1000000", work = "/tmp/vantrel-find-bench";
    const char* const usage = "find_bench [--runs N] [--lines N] [--work DIR]\n"
                              "Find over the displayed comparison of two generated files beside grep -c -i -F,\n"
                              "and the bookmark commands with 100,000 bookmarks.";
    if (const auto stop = BenchArgs::Parse(argc, argv, usage,
                                           {{"--runs", "N", "best of N runs", &runsText},
                                            {"--lines", "N", "lines in each file", &linesText},
                                            {"--work", "DIR", "folder for the generated files", &work}}))
        return *stop;
    const auto runsValue = BenchArgs::Positive(argv[0], "--runs", runsText);
    const auto linesValue = BenchArgs::Positive(argv[0], "--lines", linesText);
    if (!runsValue || !linesValue)
        return 2;
    const int runs = static_cast<int>(*runsValue);
    const long lines = *linesValue;
    mkdir(work.c_str(), 0755);
    const std::string one = work + "/one-" + std::to_string(lines) + ".txt";
    const std::string two = work + "/two-" + std::to_string(lines) + ".txt";
    BenchPairs::WriteLinesPair(lines, one, two);

    BenchWindow window(argc, argv);
    if (!window.Open()) {
        std::fprintf(stderr, "find_bench: the path library is not beside the benchmark\n");
        return 2;
    }
    window.SetPaths(QString::fromStdString(one), QString::fromStdString(two));
    window.Run("mnuFileCompare");
    const ComparisonModel& model = window.form->Model();
    const int middle = (model.RowCount() + 1) / 2;
    std::printf("%ld lines a file, Find \"Both\" from row %d (every row of both panes), best of %d\n", lines, middle,
                runs);
    std::printf("%-32s %9s %9s %7s %9s\n", "text (occurs nowhere)", "grep s", "find s", "ratio", "extra KB");
    TimeFind(model, middle, "ASCII: absent_text", "absent_text", runs, one, two);
    TimeFind(model, middle, "begins with a digit: 9_absent", "9_absent", runs, one, two);
    TimeFind(model, middle, "may begin in a number: 42.zq", "42.zq", runs, one, two);
    TimeFind(model, middle, "non-ASCII: \xC3\xBC_absent", "\xC3\xBC_absent", runs, one, two);
    std::printf("\n");
    TimeBookmarks(window, 100000);
    std::fflush(stdout);
    _exit(0);  // tearing the window down is not measured
}
