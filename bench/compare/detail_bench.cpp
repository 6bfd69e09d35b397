// Times the selection of a long changed row in the offscreen window: from
// the mouse click on the row to the painted window (marker in grid one,
// difference-bar mark, the detail pane with the character comparison).
//
// The comparison keeps the character marks of a row once found (the grids
// mark the row after the Compare), so each click alternates the letter-case
// rule: the pane compares the two lines afresh every time.
//
// GNU diff compares lines, not the characters of one line, so nothing it
// does is the same work. As a yardstick of this machine's speed in this run
// it is timed on the very same two files, before and after each click.

#include "../BenchArgs.h"
#include "BenchProcess.h"
#include "BenchWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "detail_bench [--runs N]\n"
    "Click on a long changed row to the painted window (grid, bar, detail pane), beside GNU diff on the same files.";

struct Case {
    const char* name;
    std::string one;
    std::string two;
};

std::string RandomText(std::mt19937_64& rng, std::size_t size)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz     ";
    std::string text(size, ' ');
    for (char& c : text)
        c = kLetters[rng() % (sizeof kLetters - 1)];
    return text;
}

std::vector<Case> Cases()
{
    std::mt19937_64 rng(7);
    constexpr std::size_t kMegabyte = 1 << 20;
    std::vector<Case> cases;
    const std::string base = RandomText(rng, kMegabyte);
    std::string edited = base;
    for (int k = 0; k < 20; ++k)
        edited[rng() % edited.size()] = '#';
    cases.push_back({"1MB, 20 characters changed", base, edited});
    cases.push_back({"1MB, unrelated", base, RandomText(rng, kMegabyte)});
    // A million Hebrew letters (UTF-8, two bytes each), 20 of them changed.
    static const char* const kHebrew[] = {"\xD7\x90", "\xD7\x91", "\xD7\x92", "\xD7\x93", "\xD7\x94", " "};
    std::string hebrew;
    std::vector<std::size_t> starts;
    for (std::size_t k = 0; k < kMegabyte; ++k) {
        starts.push_back(hebrew.size());
        hebrew += kHebrew[rng() % 6];
    }
    std::string hebrewEdited = hebrew;
    for (int k = 0; k < 20; ++k) {
        const std::size_t at = starts[rng() % starts.size()];
        // Same length, so the other starts stay where they are.
        hebrewEdited.replace(at, hebrewEdited[at] == ' ' ? 1 : 2, hebrewEdited[at] == ' ' ? "#" : "\xD7\xA9");
    }
    cases.push_back({"1M Hebrew letters, 20 changed", hebrew, hebrewEdited});
    const std::string small = RandomText(rng, 2000);
    std::string smallEdited = small;
    for (int k = 0; k < 100; ++k)
        smallEdited[rng() % smallEdited.size()] = '#';
    cases.push_back({"2KB, 100 characters changed", small, smallEdited});
    return cases;
}

void Write(const QString& path, const std::string& line)
{
    std::ofstream(path.toStdString(), std::ios::binary) << line << '\n';
}

// A left click at the middle of a row of the grid, as the mouse gives it.
void ClickRow(VGrid* grid, int row)
{
    const QPointF at(30, grid->RowHeight() * (row - grid->TopRow() + 1) + grid->RowHeight() / 2.0);
    const QPointF global = grid->viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &release);
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string runsText = "3";
    if (const auto stop =
            BenchArgs::Parse(argc, argv, kUsage, {{"--runs", "N", "clicks per case; the best counts", &runsText}}))
        return *stop;
    const auto runs = BenchArgs::Positive(argv[0], "--runs", runsText);
    if (!runs)
        return 2;
    BenchWindow window(argc, argv);
    if (!window.Open())
        return 2;
    VGrid* grid = window.Grid(1);
    const QString one = window.folder.filePath(QStringLiteral("one.txt"));
    const QString two = window.folder.filePath(QStringLiteral("two.txt"));
    // The row's marker, the bar's mark and both boxes change with each click.
    PaintWatch watch({grid->viewport(), window.Child<QWidget>("pctDiffsBar"), window.Pane(1)->viewport(),
                      window.Pane(2)->viewport()});

    std::printf("best of %ld clicks; diff: the same two files, run before and after each click\n", *runs);
    std::printf("%-30s %10s %10s %10s\n", "line pair", "click s", "diff s", "click/diff");
    for (const Case& c : Cases()) {
        Write(one, c.one);
        Write(two, c.two);
        window.SetPaths(one, two);
        window.Run("mnuFileCompare");
        watch.Wait(60);
        double best = 1e30;
        double diff = 1e30;
        for (long r = 0; r < *runs; ++r) {
            diff = std::min(diff, RunProcess({"diff", one.toStdString(), two.toStdString()}).seconds);
            ClickRow(grid, 2);  // the trailing row: away from the long one
            watch.Wait(60);
            modVantrel::gOptions->IgnoreCase = !modVantrel::gOptions->IgnoreCase;
            watch.Reset();
            const auto start = std::chrono::steady_clock::now();
            ClickRow(grid, 1);
            watch.Wait(60);
            best = std::min(best, std::chrono::duration<double>(watch.Completed() - start).count());
        }
        diff = std::min(diff, RunProcess({"diff", one.toStdString(), two.toStdString()}).seconds);
        std::printf("%-30s %10.3f %10.3f %10.2f\n", c.name, best, diff, best / diff);
    }
    return 0;
}
