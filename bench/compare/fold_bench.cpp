// Times View > Hide Unchanged Lines in the offscreen window on seeded pairs
// with about 1% of the lines changed: switching it on and off and opening
// a fold, each until both grids are painted again; F7 over the first
// differences folded and unfolded; and the heap the folds take, beside the
// number of rows. GNU diff on the same files is this run's yardstick.

#include "../BenchArgs.h"
#include "BenchPairs.h"
#include "BenchProcess.h"
#include "BenchWindow.h"

#include <QTest>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const char kUsage[] = "fold_bench [--lines N,N...] [--presses N] [--runs N] [--work DIR]\n"
                      "Hide Unchanged Lines on and off, a fold opened and F7 folded and unfolded, to the\n"
                      "painted grids, and the memory the folds take, on pairs of N lines.";

// Bytes the heap hands out now.
std::size_t HeapBytes()
{
    return mallinfo2().uordblks;
}

// Runs a step and waits until the widgets (both grids when none are given)
// were painted after it.
double Timed(const BenchWindow& window, const std::function<void()>& step, std::vector<QWidget*> widgets = {})
{
    if (widgets.empty())
        widgets = {window.Grid(1)->viewport(), window.Grid(2)->viewport()};
    PaintWatch watch(std::move(widgets));
    const auto start = std::chrono::steady_clock::now();
    step();
    watch.Wait(120);
    return std::chrono::duration<double>(watch.Completed() - start).count();
}

// F7 `presses` times from the first difference, each until grid one and the
// detail pane are painted (grid two is painted only when the grids scroll);
// the time of all presses.
double NextDiffs(const BenchWindow& window, long presses)
{
    window.Run("mnuFileShowFirstDiff");
    QCoreApplication::processEvents();
    double total = 0;
    const std::vector<QWidget*> painted{window.Grid(1)->viewport(), window.Pane(1)->viewport(),
                                        window.Pane(2)->viewport()};
    for (long k = 0; k < presses; ++k)
        total += Timed(
            window, [&] { QTest::keyClick(window.form.get(), Qt::Key_F7); }, painted);
    return total;
}

std::vector<long> LineCounts(const std::string& text)
{
    std::vector<long> counts;
    std::stringstream list(text);
    for (std::string item; std::getline(list, item, ',');)
        if (const auto n = BenchArgs::PositiveNumber(item))
            counts.push_back(*n);
    return counts;
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string linesText = "1000000,10000000";
    std::string pressesText = "100";
    std::string runsText = "3";
    std::string work = "/tmp/vantrel-fold-bench";
    if (const auto stop = BenchArgs::Parse(argc, argv, kUsage,
                                           {{"--lines", "N,N...", "line counts of the pairs", &linesText},
                                            {"--presses", "N", "F7 presses, folded and unfolded", &pressesText},
                                            {"--runs", "N", "rounds of toggling and opening", &runsText},
                                            {"--work", "DIR", "folder for the generated files", &work}}))
        return *stop;
    const auto presses = BenchArgs::Positive(argv[0], "--presses", pressesText);
    const auto runs = BenchArgs::Positive(argv[0], "--runs", runsText);
    const std::vector<long> counts = LineCounts(linesText);
    if (!presses || !runs || counts.empty())
        return 2;
    mkdir(work.c_str(), 0755);
    BenchWindow window(argc, argv);
    if (!window.Open())
        return 2;
    std::printf("worst of %ld rounds; F7: %ld presses from the first difference, in all; diff: best of a run\n"
                "before and one after; heap: bytes the folds added\n",
                *runs, *presses);
    std::printf("%-9s %9s %7s %8s %8s %8s %9s %9s %8s %9s\n", "lines", "rows", "folds", "on s", "off s", "open s",
                "F7 fold", "F7 plain", "diff s", "heap KB");
    for (const long lines : counts) {
        const std::string one = work + "/one.txt";
        const std::string two = work + "/two.txt";
        BenchPairs::WriteLinesPair(lines, one, two);
        double diff = RunProcess({"diff", one, two}).seconds;
        window.SetPaths(QString::fromStdString(one), QString::fromStdString(two));
        Timed(window, [&] { window.Run("mnuFileCompare"); });
        QAction* hide = window.Child<QAction>("mnuViewHideUnchangedLines");
        const ComparisonModel& model = window.form->Model();
        double on = 0, off = 0, open = 0;
        std::size_t heap = 0, folds = 0;
        for (long round = 0; round < *runs; ++round) {
            const std::size_t before = HeapBytes();
            on = std::max(on, Timed(window, [&] { hide->trigger(); }));
            heap = std::max(heap, HeapBytes() - std::min(before, HeapBytes()));
            folds = model.Folds() ? model.Folds()->Folds().size() : 0;
            // A fold in the middle of the files, opened with Enter on it.
            const RowFolding::Fold middle = model.Folds()->Folds()[folds / 2];
            window.Grid(1)->MoveCurrentRow(middle.firstRow);
            QCoreApplication::processEvents();
            open = std::max(open, Timed(window, [&] { QTest::keyClick(window.Grid(1), Qt::Key_Return); }));
            off = std::max(off, Timed(window, [&] { hide->trigger(); }));
        }
        const double plain = NextDiffs(window, *presses);
        hide->trigger();
        const double folded = NextDiffs(window, *presses);
        hide->trigger();
        diff = std::min(diff, RunProcess({"diff", one, two}).seconds);
        std::printf("%-9ld %9d %7zu %8.3f %8.3f %8.3f %9.3f %9.3f %8.3f %9.1f\n", lines, model.RowCount(), folds, on,
                    off, open, folded, plain, diff, static_cast<double>(heap) / 1024.0);
        std::fflush(stdout);
        std::remove(one.c_str());
        std::remove(two.c_str());
    }
    std::printf("\ngoals: on, off and open within 0.1 s; F7 folded no slower than plain; heap by folds, not rows\n");
    return 0;
}
