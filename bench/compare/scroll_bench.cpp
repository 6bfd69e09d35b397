// Times what the user waits for while moving through a shown comparison in
// the offscreen window: a mouse-wheel step over the grids (until both grids
// are painted again) and F7 (until grid one and the detail pane are painted
// again), over a pair of megabyte lines and over the million-line pair. A
// step has settled once the changed rows that came into view have their
// differing characters marked and are painted again with them. Reported per
// step: the worst and the median time.
//
// GNU diff has no counterpart of a paint; its time on the same files, run
// before and after the steps, is printed as this run's yardstick.

#include "../BenchArgs.h"
#include "BenchPairs.h"
#include "BenchProcess.h"
#include "BenchWindow.h"
#include "mainwindow/GridCharacterMarks.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const char kUsage[] = "scroll_bench [--steps N] [--work DIR]\n"
                      "Worst time to the settled window (character marks painted) of wheel steps and F7\n"
                      "over a megabyte-line pair and the million-line pair.";

struct Times {
    std::vector<double> seconds;
    int marked = 0;  // steps that marked rows
    [[nodiscard]] double Worst() const
    {
        return seconds.empty() ? 0 : *std::max_element(seconds.begin(), seconds.end());
    }
    [[nodiscard]] double Median()
    {
        if (seconds.empty())
            return 0;
        std::nth_element(seconds.begin(), seconds.begin() + static_cast<long>(seconds.size() / 2), seconds.end());
        return seconds[seconds.size() / 2];
    }
};

// Waits for the paint a step causes, then, while rows wait for their
// character marks, for the marks and the paint of the grids that shows them.
// True when rows were marked on the way.
bool Settle(const BenchWindow& window, PaintWatch& watch)
{
    const std::size_t before = window.form->Model().KnownRowMarkCount();
    watch.Wait(60);
    PaintWatch grids({window.Grid(1)->viewport(), window.Grid(2)->viewport()});
    while (window.form->GridMarks().Pending()) {
        const std::size_t known = window.form->Model().KnownRowMarkCount();
        grids.Reset();
        while (window.form->GridMarks().Pending())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (window.form->Model().KnownRowMarkCount() != known)
            grids.Wait(60);
    }
    return window.form->Model().KnownRowMarkCount() != before;
}

// One notch of the wheel over grid one, down or up.
void Wheel(VGrid* grid, bool down)
{
    const QPointF at(40, grid->viewport()->height() / 2.0);
    QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, down ? -120 : 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid->viewport(), &wheel);
}

Times WheelSteps(const BenchWindow& window, long steps)
{
    PaintWatch watch({window.Grid(1)->viewport(), window.Grid(2)->viewport()});
    Times times;
    bool down = true;
    for (long k = 0; k < steps; ++k) {
        const int before = window.Grid(1)->TopRow();
        watch.Reset();
        const auto start = std::chrono::steady_clock::now();
        Wheel(window.Grid(1), down);
        if (window.Grid(1)->TopRow() == before) {
            down = !down;  // an end is reached: turn round, untimed
            continue;
        }
        times.marked += Settle(window, watch) ? 1 : 0;
        times.seconds.push_back(SecondsSince(start));
    }
    return times;
}

Times NextDiffSteps(const BenchWindow& window, long steps)
{
    PaintWatch watch({window.Grid(1)->viewport(), window.Pane(1)->viewport(), window.Pane(2)->viewport()});
    Times times;
    const int last = window.form->Model().LastDiff().value_or(0);
    for (long k = 0; k < steps; ++k) {
        if (window.form->Model().CurrentRow() >= last) {
            window.Run("mnuFileShowFirstDiff");  // back to the start, untimed
            Settle(window, watch);
        }
        watch.Reset();
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(window.form.get(), Qt::Key_F7);
        times.marked += Settle(window, watch) ? 1 : 0;
        times.seconds.push_back(SecondsSince(start));
    }
    return times;
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string stepsText = "30";
    std::string work = "/tmp/vantrel-scroll-bench";
    if (const auto stop = BenchArgs::Parse(argc, argv, kUsage,
                                           {{"--steps", "N", "wheel steps and F7 presses per pair", &stepsText},
                                            {"--work", "DIR", "folder for the generated files", &work}}))
        return *stop;
    const auto steps = BenchArgs::Positive(argv[0], "--steps", stepsText);
    if (!steps)
        return 2;
    mkdir(work.c_str(), 0755);
    struct Pair {
        const char* name;
        std::string one;
        std::string two;
    };
    const std::vector<Pair> pairs = {{"40 lines, 20 of 1MB", work + "/long-1.txt", work + "/long-2.txt"},
                                     {"1000000 lines", work + "/lines-1.txt", work + "/lines-2.txt"}};
    BenchPairs::WriteLongLinesPair({40, 1 << 20, 2, 3, 20}, pairs[0].one, pairs[0].two);
    BenchPairs::WriteLinesPair(1000000, pairs[1].one, pairs[1].two);

    BenchWindow window(argc, argv);
    if (!window.Open())
        return 2;
    std::printf("%ld steps each; diff: the same files, best of a run before and one after the steps;\n"
                "marked: steps after which rows that came into view were compared and painted with their marks\n",
                *steps);
    std::printf("%-22s %-6s %9s %9s %9s %11s %7s\n", "pair", "step", "worst s", "median s", "diff s", "worst/diff",
                "marked");
    std::vector<double> worst;
    for (const Pair& p : pairs) {
        double diff = RunProcess({"diff", p.one, p.two}).seconds;
        window.SetPaths(QString::fromStdString(p.one), QString::fromStdString(p.two));
        PaintWatch shown(window.Panes());
        window.Run("mnuFileCompare");
        Settle(window, shown);
        Times wheel = WheelSteps(window, *steps);
        // Compared afresh, so that F7 finds no row marked by the wheel steps.
        window.Run("mnuFileCompare");
        Settle(window, shown);
        Times next = NextDiffSteps(window, *steps);
        diff = std::min(diff, RunProcess({"diff", p.one, p.two}).seconds);
        std::printf("%-22s %-6s %9.3f %9.3f %9.3f %11.2f %7d\n", p.name, "wheel", wheel.Worst(), wheel.Median(), diff,
                    wheel.Worst() / diff, wheel.marked);
        std::printf("%-22s %-6s %9.3f %9.3f %9.3f %11.2f %7d\n", p.name, "F7", next.Worst(), next.Median(), diff,
                    next.Worst() / diff, next.marked);
        std::fflush(stdout);
        worst.push_back(std::max(wheel.Worst(), next.Worst()));
    }
    std::printf("\nworst step, megabyte lines / million lines: %.2f (goal: every step within 0.2 s)\n",
                worst[0] / worst[1]);
    for (const Pair& p : pairs) {
        std::remove(p.one.c_str());
        std::remove(p.two.c_str());
    }
    return 0;
}
