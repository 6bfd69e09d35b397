// Times the Compare command on the offscreen platform, from the click to
// grids filled and the first difference selected, and GNU diff on the same
// files. Each measurement runs in a child process of its own, so the peak
// resident size wait4 reports belongs to that run alone.
//
//   compare_bench [--runs N] [--work DIR] [--max-lines N]
//   compare_bench --child ONE TWO   (one Compare; prints its seconds)

#include "BenchPair.h"
#include "BenchWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Measure {
    double seconds = 1e30;  // wall time of the whole child, best run
    long peakKb = 0;        // largest peak resident size of any run
    double inner = 1e30;    // the child's own time for the command, best run
    bool ok = true;         // every run filled the grids and selected the first difference
};

Measure Run(const std::vector<std::string>& args, int runs)
{
    Measure best;
    for (int r = 0; r < runs; ++r) {
        int fds[2];
        if (pipe(fds) != 0)
            return best;
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            dup2(fds[1], 1);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 2);
            std::vector<char*> argv;
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        std::string out;
        char buffer[4096];
        for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;)
            out.append(buffer, static_cast<std::size_t>(got));
        close(fds[0]);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        best.seconds = std::min(best.seconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        best.peakKb = std::max(best.peakKb, usage.ru_maxrss);
        if (const auto at = out.find("compare-seconds "); at != std::string::npos) {
            best.inner = std::min(best.inner, std::stod(out.substr(at + 16)));
            best.ok = best.ok && out.find(" ok 1") != std::string::npos;
        }
    }
    return best;
}

int RunChild(int argc, char* argv[], const char* one, const char* two)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchWindow window;
    if (!window.Open())
        return 2;
    frmFileDiffs& form = *window.form;
    form.txtFileOne->setText(QString::fromLocal8Bit(one));
    form.txtFileTwo->setText(QString::fromLocal8Bit(two));
    const auto start = std::chrono::steady_clock::now();
    form.mnuFileCompare_Click();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const bool filled = form.grdFileOne->Rows() > 2 && form.grdFileOne->Rows() == form.grdFileTwo->Rows();
    const bool onFirst = form.Model().FirstDiff() && form.grdFileOne->Row() == *form.Model().FirstDiff();
    std::printf("compare-seconds %.6f rows %d first-row %d ok %d\n", seconds, form.grdFileOne->Rows(),
                form.grdFileOne->Row(), filled && onFirst ? 1 : 0);
    std::fflush(stdout);
    // Tearing the window down is not part of the command.
    _exit(filled && onFirst ? 0 : 1);
}

long FileSize(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv, argv[2], argv[3]);
    int runs = 3;
    long maxLines = 1000000;
    std::string work = "/tmp/vantrel-compare-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--work") == 0)
            work = argv[i + 1];
        else if (std::strcmp(argv[i], "--max-lines") == 0)
            maxLines = std::atol(argv[i + 1]);
    }
    mkdir(work.c_str(), 0755);
    std::printf("seed %llu, best of %d runs (peak RSS: largest of the runs, from wait4)\n",
                static_cast<unsigned long long>(BenchPair::kSeed), runs);
    std::printf("%9s %9s | %8s %8s | %8s %8s %8s | %7s %9s | %s\n", "lines", "inputs MB", "diff s", "diff MB",
                "cmd s", "proc s", "proc MB", "cmd/dif", "MB/inputs", "grids");
    for (long lines = 10000; lines <= maxLines; lines *= 10) {
        const std::string one = work + "/one-" + std::to_string(lines) + ".txt";
        const std::string two = work + "/two-" + std::to_string(lines) + ".txt";
        BenchPair::WritePair(lines, one, two);
        const double inputsMb = static_cast<double>(FileSize(one) + FileSize(two)) / 1e6;
        const Measure diff = Run({"diff", one, two}, runs);
        const Measure cmd = Run({argv[0], "--child", one, two}, runs);
        const double procMb = static_cast<double>(cmd.peakKb) * 1024 / 1e6;
        std::printf("%9ld %9.1f | %8.3f %8.1f | %8.3f %8.3f %8.1f | %7.2f %9.2f | %s\n", lines, inputsMb,
                    diff.seconds, static_cast<double>(diff.peakKb) * 1024 / 1e6, cmd.inner, cmd.seconds, procMb,
                    cmd.inner / diff.seconds, procMb / inputsMb, cmd.ok ? "ok" : "NOT FILLED");
        std::fflush(stdout);
    }
    std::printf("\ncmd s: the Compare command in the window, click to first difference selected;\n"
                "proc s / proc MB: the whole offscreen program around it (start-up included).\n");
    return 0;
}
