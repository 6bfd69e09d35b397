// Times what a screen reader asks of the offscreen window after Compare on a
// seeded million-line pair: a row of grid one read through Qt's
// accessibility interfaces (its cell found, its text, its state in words
// and its flags), at random rows unfolded and folded, and the heap the
// cells read take. GNU diff on the same files is this run's yardstick.

#include "../BenchArgs.h"
#include "BenchPairs.h"
#include "BenchProcess.h"
#include "BenchWindow.h"

#include "mainwindow/Accessibility.h"

#include <QAccessible>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const char kUsage[] = "access_bench [--lines N] [--reads N] [--work DIR]\n"
                      "Rows of grid one read through the accessibility interfaces after Compare, unfolded\n"
                      "and with Hide Unchanged Lines, beside GNU diff on the pair.";

struct Reads {
    double meanMicroseconds = 0;
    double p99Microseconds = 0;
    double maxMicroseconds = 0;
    double heapKb = 0;  // what the cells read hold, and the table
    long rows = 0;
    bool ok = true;
};

// Reads `count` random rows of the grid's table, each as a screen reader
// does on arriving at a cell: the cell, its name, its description, its state.
Reads ReadRows(VGrid* grid, long count, std::uint64_t seed)
{
    Reads reads;
    // The cells of rows read before the rows changed go at the first read.
    const auto heap = static_cast<double>(mallinfo2().uordblks);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    reads.rows = table->tableInterface()->rowCount();
    std::mt19937_64 rng(seed);
    std::vector<double> times;
    for (long k = 0; k < count; ++k) {
        const int row = static_cast<int>(rng() % static_cast<std::uint64_t>(reads.rows));
        const auto start = std::chrono::steady_clock::now();
        QAccessibleInterface* cell = table->tableInterface()->cellAt(row, 0);
        const QString name = cell->text(QAccessible::Name);
        const QString state = cell->text(QAccessible::Description);
        const QAccessible::State flags = cell->state();
        const double seconds = SecondsSince(start);
        // Every row has a state in words; a cell that is no longer valid has no flags.
        reads.ok = reads.ok && !state.isEmpty() && flags.readOnly && name.size() < Accessibility::kCellTextLength + 10;
        times.push_back(seconds * 1e6);
        // Each request of a screen reader comes as an event of its own.
        QCoreApplication::processEvents();
    }
    reads.heapKb = (static_cast<double>(mallinfo2().uordblks) - heap) / 1024;
    std::sort(times.begin(), times.end());
    for (const double t : times)
        reads.meanMicroseconds += t / static_cast<double>(times.size());
    reads.p99Microseconds = times[times.size() * 99 / 100];
    reads.maxMicroseconds = times.back();
    return reads;
}

void Print(const char* what, const Reads& r, double diffSeconds)
{
    std::printf("%-9s %9ld | %9.2f %9.2f %9.1f | %9.1f | %13.2e | %s\n", what, r.rows, r.meanMicroseconds,
                r.p99Microseconds, r.maxMicroseconds, r.heapKb, r.meanMicroseconds / 1e6 / diffSeconds,
                r.ok ? "ok" : "FAILED");
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string linesText = "1000000";
    std::string readsText = "10000";
    std::string work = "/tmp/vantrel-access-bench";
    if (const auto stop = BenchArgs::Parse(argc, argv, kUsage,
                                           {{"--lines", "N", "lines of each file", &linesText},
                                            {"--reads", "N", "rows read, each at random", &readsText},
                                            {"--work", "DIR", "folder for the generated files", &work}}))
        return *stop;
    const auto lines = BenchArgs::Positive(argv[0], "--lines", linesText);
    const auto count = BenchArgs::Positive(argv[0], "--reads", readsText);
    if (!lines || !count)
        return 2;
    mkdir(work.c_str(), 0755);
    const std::string one = work + "/one.txt";
    const std::string two = work + "/two.txt";
    BenchPairs::WriteLinesPair(*lines, one, two);
    const double diffSeconds = RunProcess({"diff", one, two}).seconds;
    BenchWindow window(argc, argv);
    if (!window.Open())
        return 2;
    window.SetPaths(QString::fromStdString(one), QString::fromStdString(two));
    window.Run("mnuFileCompare");
    PaintWatch(window.Panes()).Wait();
    std::printf("seed %llu, %ld lines, diff %.3f s; each read: the cell, its name, its state, its flags\n",
                static_cast<unsigned long long>(BenchPairs::kSeed), *lines, diffSeconds);
    std::printf("%-9s %9s | %9s %9s %9s | %9s | %13s | %s\n", "rows", "table", "mean us", "p99 us", "max us", "heap KB",
                "mean/diff", "result");
    const Reads unfolded = ReadRows(window.Grid(1), *count, BenchPairs::kSeed);
    Print("unfolded", unfolded, diffSeconds);
    window.Run("mnuViewHideUnchangedLines");
    PaintWatch(window.Panes()).Wait(60);
    const Reads folded = ReadRows(window.Grid(1), *count, BenchPairs::kSeed + 1);
    Print("folded", folded, diffSeconds);
    std::printf("\nheap KB: what the cells read (at most --reads of them) hold, less the cells of the\n"
                "rows before a fold, dropped at the first read; a row not read has no cell. The goal:\n"
                "a read under 1 ms (1000 us).\n");
    std::remove(one.c_str());
    std::remove(two.c_str());
    const bool ok = unfolded.ok && folded.ok && unfolded.meanMicroseconds < 1000 && folded.meanMicroseconds < 1000;
    // Tearing the window down is not part of what is measured.
    std::fflush(stdout);
    _exit(ok ? 0 : 1);
}
