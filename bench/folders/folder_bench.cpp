// The folder window on two large trees, beside `diff -rq` on the same trees
// in the same run: the time from Compare to the complete tree painted (by
// content, and by size and time), when the first rows were painted, the
// longest stall of the event loop while the scan ran (a 1 ms timer), the
// resident memory the tree added per entry, and the frames of opening a
// folder and of paging through the tree of every entry. The window runs offscreen in
// a child process of its own for each round, so that its memory is its own.
//
// With --meld yes, the peer a user would pick instead is timed on the same
// trees, from its start until it stops using the processor.
//
// Trees: `generated` (100,000 files in 5,000 folders, 1% of them changed, a
// few on one side only), made once under --work; `linux` (two versions of
// Debian's linux-source-6.1, fetched with apt-get download and unpacked
// once, about 80,000 files each).
//
//   folder_bench [--runs N] [--trees generated|linux|both] [--work DIR] [--meld yes]

#include "../compare/BenchProcess.h"
#include "../compare/BenchWindow.h"
#include "BenchArgs.h"
#include "FolderTrees.h"

#include "folderview/frmFolderDiffs.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// The value below which a share of the values lie (1.0: the largest).
double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

// Paints the tree's viewport and reports how long the paint took.
double PaintMs(QTreeView* tree)
{
    const auto start = Clock::now();
    tree->viewport()->repaint();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One comparison in this process: prints what the parent reads.
int Child(int argc, char** argv, const std::string& one, const std::string& two, bool sizeAndTime)
{
    BenchWindow bench(argc, argv);
    using namespace modVantrel;
    gAppFolder = bench.folder.path() + QLatin1Char('/');
    SetPrompts(&bench.prompts);
    gOptions = std::make_unique<cViewFileDiffsOptions>();
    // As diff -rq compares: every name, links followed, by content.
    gOptions->Folders.ExcludeFiles.clear();
    gOptions->Folders.ExcludeFolders.clear();
    gOptions->Folders.BySizeAndTime = sizeAndTime;
    gOptions->Folders.ShowIdentical = false;
    frmFolderDiffs window({});
    window.resize(1100, 800);
    window.show();
    auto* tree = window.findChild<QTreeView*>(QStringLiteral("tvwFolders"));
    window.findChild<QLineEdit*>(QStringLiteral("txtFolderOne"))->setText(QString::fromStdString(one));
    window.findChild<QLineEdit*>(QStringLiteral("txtFolderTwo"))->setText(QString::fromStdString(two));
    // The window as the user sees it before Compare: shown and painted.
    for (QElapsedTimer shown; !shown.isValid() || shown.elapsed() < 300;) {
        if (!shown.isValid())
            shown.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const long before = ResidentKb();

    // The event loop's longest stall, and the first paint with rows in it.
    double stall = 0;
    std::vector<double> gaps;
    auto lastTick = Clock::now();
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        gaps.push_back(std::chrono::duration<double, std::milli>(now - lastTick).count());
        stall = std::max(stall, gaps.back());
        lastTick = now;
    });
    PaintWatch watch({tree->viewport()});
    const auto start = Clock::now();
    double first = -1;
    ticker.start();
    lastTick = Clock::now();
    window.findChild<QAction*>(QStringLiteral("mnuFileCompare"))->trigger();
    while (window.Scanning() || first < 0) {
        watch.Reset();
        // Waits for events as the program's own loop does: a loop that spun
        // here would take a processor from the scan.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (first < 0 && watch.AllPainted() && window.Model().rowCount() > 0)
            first = std::chrono::duration<double>(watch.Completed() - start).count();
        if (!window.Scanning() && window.Model().rowCount() == 0)
            break;
    }
    ticker.stop();
    watch.Reset();
    tree->viewport()->update();
    watch.Wait();
    const double complete = std::chrono::duration<double>(watch.Completed() - start).count();
    const FolderTree::Tree* shown = window.Model().Tree();
    const long entries = shown ? shown->Size() : 0;
    const long after = ResidentKb();

    // Opening folders one at a time (each of the top's, and the first
    // folder inside each), each to the painted tree; then every folder at
    // once, and paging through all the entries.
    window.findChild<QAction*>(QStringLiteral("mnuViewShowIdentical"))->trigger();
    QCoreApplication::processEvents();
    std::vector<double> opens;
    for (int row = 0; row < window.Model().rowCount(); ++row) {
        const QModelIndex folder = window.Model().index(row, 0);
        for (const QModelIndex& index : {folder, window.Model().index(0, 0, folder)}) {
            const auto open = Clock::now();
            tree->expand(index);
            QCoreApplication::processEvents();
            tree->viewport()->repaint();
            opens.push_back(std::chrono::duration<double, std::milli>(Clock::now() - open).count());
        }
    }
    QElapsedTimer expand;
    expand.start();
    tree->expandAll();
    QCoreApplication::processEvents();
    const double expandAllMs = static_cast<double>(expand.nsecsElapsed()) / 1e6 + PaintMs(tree);
    std::vector<double> pages;
    QScrollBar* bar = tree->verticalScrollBar();
    const int step = std::max(1, (bar->maximum() - bar->minimum()) / 200);
    for (int value = bar->minimum(); value <= bar->maximum(); value += step) {
        const auto page = Clock::now();
        bar->setValue(value);
        QCoreApplication::processEvents();
        tree->viewport()->repaint();
        pages.push_back(std::chrono::duration<double, std::milli>(Clock::now() - page).count());
    }
    const std::uint32_t differing =
        shown ? shown->Count(FolderTree::State::Different) + shown->Count(FolderTree::State::OnlyInOne)
                    + shown->Count(FolderTree::State::OnlyInTwo) + shown->Count(FolderTree::State::KindsDiffer)
              : 0;
    std::printf(
        "complete %.4f first %.4f stall %.1f stall99 %.1f entries %ld bytes %.1f differing %u open %.1f openmax %.1f "
        "expandall %.1f page %.1f pagemax %.1f\n",
        complete, first, stall, Percentile(gaps, 0.99), entries,
        entries > 0 ? static_cast<double>(after - before) * 1024.0 / static_cast<double>(entries) : 0.0, differing,
        Percentile(opens, 0.95), Percentile(opens, 1.0), expandAllMs, Percentile(pages, 0.95), Percentile(pages, 1.0));
    gOptions.reset();
    return 0;
}

// Seconds of processor time a process has used so far, or -1 once it ended.
double CpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n)
        if (n == 14 || n == 15)
            ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The peer a user would pick instead, on the same display: its time from
// the start until it stops using the processor (its scan done), found by
// watching its processor time; its own start-up is in it.
double MeldSeconds(const std::string& one, const std::string& two)
{
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        execlp("meld", "meld", one.c_str(), two.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    double used = 0;
    auto lastBusy = start;
    while (std::chrono::duration<double>(Clock::now() - lastBusy).count() < 3.0) {
        ::usleep(50'000);
        const double now = CpuSeconds(pid);
        if (now < 0)
            break;
        if (now > used) {
            used = now;
            lastBusy = Clock::now();
        }
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return std::chrono::duration<double>(lastBusy - start).count();
}

struct Row {
    double diff = 1e9, content = 1e9, sizeTime = 1e9, first = 1e9, stall = 0, stall99 = 0, bytes = 0;
    double open = 0, openMax = 0, expandAll = 0, page = 0, pageMax = 0;
    long entries = 0;
    long diffLines = 0, differing = 0;
    double meld = -1, meldEmpty = -1;
};

void Measure(const char* self, const std::string& one, const std::string& two, int runs, Row& row)
{
    for (int run = 0; run < runs; ++run) {
        const ProcessRun diff = RunProcess({"diff", "-rq", one, two});
        row.diff = std::min(row.diff, diff.seconds);
        row.diffLines = static_cast<long>(std::count(diff.out.begin(), diff.out.end(), '\n'));
        for (const bool sizeAndTime : {false, true}) {
            const ProcessRun window =
                RunProcess({self, "--child", sizeAndTime ? "size-time" : "content", "--one", one, "--two", two});
            const double complete = ValueAfter(window.out, "complete");
            if (complete < 0) {
                std::fprintf(stderr, "folder_bench: the window's round failed:\n%s\n", window.out.c_str());
                continue;
            }
            (sizeAndTime ? row.sizeTime : row.content) = std::min(sizeAndTime ? row.sizeTime : row.content, complete);
            if (sizeAndTime)
                continue;
            row.first = std::min(row.first, ValueAfter(window.out, "first"));
            row.stall = std::max(row.stall, ValueAfter(window.out, "stall"));
            row.stall99 = std::max(row.stall99, ValueAfter(window.out, "stall99"));
            row.entries = static_cast<long>(ValueAfter(window.out, "entries"));
            row.bytes = std::max(row.bytes, ValueAfter(window.out, "bytes"));
            row.differing = static_cast<long>(ValueAfter(window.out, "differing"));
            row.open = std::max(row.open, ValueAfter(window.out, "open"));
            row.openMax = std::max(row.openMax, ValueAfter(window.out, "openmax"));
            row.expandAll = std::max(row.expandAll, ValueAfter(window.out, "expandall"));
            row.page = std::max(row.page, ValueAfter(window.out, "page"));
            row.pageMax = std::max(row.pageMax, ValueAfter(window.out, "pagemax"));
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string runs = "3", trees = "generated", work = "/tmp/vantrel-folder-bench", meld = "no";
    std::string child, one, two;
    const std::vector<BenchArgs::Option> options{
        {"--runs", "N", "rounds, the best (or worst, for stalls and frames) of them is shown", &runs},
        {"--trees", "WHICH", "generated, linux or both", &trees},
        {"--work", "DIR", "where the trees are made and kept", &work},
        {"--meld", "yes|no", "also time meld on the same trees (installs it; needs a display)", &meld},
        {"--child", "MODE", "(internal) one round of the window: content or size-time", &child},
        {"--one", "DIR", "(internal) Folder One", &one},
        {"--two", "DIR", "(internal) Folder Two", &two},
    };
    if (const std::optional<int> code = BenchArgs::Parse(argc, argv, "usage: folder_bench [options]", options))
        return *code;
    if (!child.empty())
        return Child(argc, argv, one, two, child == "size-time");
    if (meld == "yes") {
        if (std::getenv("DISPLAY") == nullptr) {
            std::fprintf(stderr, "folder_bench: --meld yes needs a display (xvfb-run -a folder_bench ...)\n");
            return 2;
        }
        // The peer comes from Debian's packages, through the project's script.
        if (std::system(("'" + std::string(VANTREL_SOURCE_DIR) + "/scripts/install-deps' meld").c_str()) != 0)
            return 2;
    }
    const std::optional<long> rounds = BenchArgs::PositiveNumber(runs);
    if (!rounds || (trees != "generated" && trees != "linux" && trees != "both")) {
        std::fprintf(stderr, "folder_bench: --runs takes a positive number, --trees generated, linux or both\n");
        return 2;
    }
    std::vector<std::pair<std::string, std::array<std::string, 2>>> pairs;
    if (trees != "linux")
        pairs.push_back({"generated", FolderTrees::Generated(work)});
    if (trees != "generated")
        pairs.push_back({"linux", FolderTrees::Linux(work)});
    // Frames in ms: a folder opened and a page scrolled (95th percentile
    // and worst of all rounds), every folder opened at once.
    std::printf("%-10s %8s | %8s %8s %6s | %8s %6s | %7s %11s %7s | %11s %11s %7s | %s\n", "trees", "entries",
                "diff -rq", "content", "ratio", "size+t", "ratio", "first s", "stall p99/max", "B/entry",
                "open p95/max", "page p95/max", "all", "differing (diff lines)");
    for (const auto& [name, roots] : pairs) {
        if (roots[0].empty()) {
            std::printf("%-10s could not be made (see above)\n", name.c_str());
            continue;
        }
        Row row;
        Measure(argv[0], roots[0], roots[1], static_cast<int>(*rounds), row);
        if (meld == "yes") {
            const std::string empty = work + "/empty";
            ::mkdir(empty.c_str(), 0755);
            row.meldEmpty = MeldSeconds(empty, empty);
            row.meld = MeldSeconds(roots[0], roots[1]);
        }
        std::printf(
            "%-10s %8ld | %8.3f %8.3f %6.2f | %8.3f %6.2f | %7.3f %5.1f %5.1f %7.1f | %5.1f %5.1f %5.1f %5.1f %7.1f | "
            "%ld (%ld)\n",
            name.c_str(), row.entries, row.diff, row.content, row.content / row.diff, row.sizeTime,
            row.sizeTime / row.diff, row.first, row.stall99, row.stall, row.bytes, row.open, row.openMax, row.page,
            row.pageMax, row.expandAll, row.differing, row.diffLines);
        if (row.meld >= 0)
            std::printf(
                "%-10s meld: %.3f s to idle (%.2f x diff -rq), of which %.3f s its start on two empty folders\n",
                name.c_str(), row.meld, row.meld / row.diff, row.meldEmpty);
    }
    return 0;
}
