// Times the detail pane on long line pairs: the character comparison and
// the formatting of both boxes, until both have been painted once.
//
//   detail_bench [--runs N]

#include "BenchWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

namespace {

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

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 3;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));

    BenchWindow window;
    if (!window.Open())
        return 2;
    frmFileDiffs& form = *window.form;
    const QTemporaryDir& folder = window.folder;

    std::printf("%-30s %12s\n", "line pair", "best seconds");
    for (const Case& c : Cases()) {
        const QString one = folder.filePath(QStringLiteral("one.txt"));
        const QString two = folder.filePath(QStringLiteral("two.txt"));
        Write(one, c.one);
        Write(two, c.two);
        form.txtFileOne->setText(one);
        form.txtFileTwo->setText(two);
        form.mnuFileCompare_Click();
        QCoreApplication::processEvents();
        double best = 1e30;
        for (int r = 0; r < runs; ++r) {
            const auto start = std::chrono::steady_clock::now();
            form.DisplaySelectedLinesDiffsInRTF();
            for (LineDiffView* box : form.rtfLineDiff)
                box->viewport()->repaint();
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        std::printf("%-30s %12.3f\n", c.name, best);
    }
    return 0;
}
