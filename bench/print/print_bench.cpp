// Times File > Print of the left pane into a PDF file, from the press on
// Print to the file written, after a Compare of a generated pair; and, in
// the same run, the common Debian way to turn the same text file into a
// PDF: enscript to PostScript piped into ps2pdf. Each measurement runs in a
// child process of its own, so wait4's peak resident size belongs to it.
// The child also reports how much the printing added to its resident size
// beyond what the comparison already held (Linux: VmHWM after resetting it
// through /proc/self/clear_refs), which must not grow with the page count.
//
//   print_bench [--runs N] [--work DIR] [--max-lines N]
//   print_bench --child ONE TWO PDF   (one print; prints its figures)

#include "../BenchArgs.h"
#include "BenchProcess.h"
#include "BenchWindow.h"

#include "app/Prompt.h"
#include "print/frmPrintOptions.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

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

// About 73 bytes a line; every 97th line of File Two differs, so the left
// pane has a bold row now and then.
void WritePair(long lines, const std::string& one, const std::string& two)
{
    std::mt19937_64 rng(20240611);
    static const char kWords[] = "abcdefghijklmnopqrstuvwxyz ";
    std::ofstream a(one, std::ios::binary);
    std::ofstream b(two, std::ios::binary);
    for (long n = 0; n < lines; ++n) {
        std::string line = "line " + std::to_string(n) + ": ";
        while (line.size() < 72)
            line += kWords[rng() % (sizeof kWords - 1)];
        a << line << '\n';
        b << (n % 97 == 0 ? line + " changed" : line) << '\n';
    }
}

// Answers the dialogs as a user printing the left pane to PDF would.
class PrintToPdf final : public modVantrel::PromptSeam {
public:
    explicit PrintToPdf(QString pdf) : m_pdf(std::move(pdf)) {}
    double seconds = 0;
    bool complete = false;

    modVantrel::PromptAnswer message(const modVantrel::MessagePrompt& prompt) override
    {
        complete = complete || prompt.text == QLatin1String("Printing is complete.");
        return modVantrel::PromptAnswer::Ok;
    }
    std::optional<QString> input(const modVantrel::InputPrompt&) override { return std::nullopt; }
    std::optional<QString> openFile(const modVantrel::FilePrompt&) override { return std::nullopt; }
    std::optional<QString> saveFile(const modVantrel::FilePrompt&) override { return m_pdf; }
    std::optional<QFont> font(const modVantrel::FontPrompt&) override { return std::nullopt; }
    void showModal(QWidget* window) override
    {
        auto* dialog = qobject_cast<frmPrintOptions*>(window);
        if (!dialog)
            return;
        dialog->cboPrinters->setCurrentText(frmPrintOptions::kSaveAsPdf);
        dialog->optSide[0]->setChecked(true);
        const auto start = std::chrono::steady_clock::now();
        dialog->cmdPrint_Click();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    QString m_pdf;
};

long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

int RunChild(int argc, char* argv[])
{
    BenchWindow window(argc, argv);
    if (!window.Open())
        return 2;
    window.SetPaths(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    window.Run("mnuFileCompare");
    PrintToPdf prompts(QString::fromLocal8Bit(argv[4]));
    modVantrel::SetPrompts(&prompts);
    // From here on VmHWM is the peak of the printing alone.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKb("VmRSS:");
    window.Run("mnuFilePrint");
    const long peak = StatusKb("VmHWM:");
    modVantrel::SetPrompts(nullptr);
    std::printf("print-seconds %.6f rss-before-kb %ld peak-kb %ld ok %d\n", prompts.seconds, before, peak,
                prompts.complete ? 1 : 0);
    std::fflush(stdout);
    _exit(prompts.complete ? 0 : 1);
}

struct Measure {
    double seconds = 1e30;  // wall time of the child, best run
    long peakKb = 0;        // largest peak resident size of any run (wait4)
    std::string out;        // the last run's standard output
};

Measure Run(const std::vector<std::string>& args, int runs)
{
    Measure best;
    for (int r = 0; r < runs; ++r) {
        ProcessRun run = RunProcess(args);
        best.seconds = std::min(best.seconds, run.seconds);
        best.peakKb = std::max(best.peakKb, run.peakKb);
        best.out = std::move(run.out);
    }
    return best;
}

long PdfPages(const std::string& pdf)
{
    const Measure info = Run({"pdfinfo", pdf}, 1);
    const auto at = info.out.find("Pages:");
    return at == std::string::npos ? 0 : std::atol(info.out.c_str() + at + 6);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv);
    std::string runsText = "1", maxLinesText = "1000000", work = "/tmp/vantrel-print-bench";
    if (const auto stop =
            BenchArgs::Parse(argc, argv,
                             "print_bench [--runs N] [--max-lines N] [--work DIR]\n"
                             "File > Print of the left pane to PDF beside enscript | ps2pdf, at 10^5 lines\n"
                             "and ten times more up to --max-lines.",
                             {{"--runs", "N", "best of N runs", &runsText},
                              {"--max-lines", "N", "largest pair printed", &maxLinesText},
                              {"--work", "DIR", "folder for the generated files and PDFs", &work}}))
        return *stop;
    const auto runsValue = BenchArgs::Positive(argv[0], "--runs", runsText);
    const auto maxLinesValue = BenchArgs::Positive(argv[0], "--max-lines", maxLinesText);
    if (!runsValue || !maxLinesValue)
        return 2;
    const int runs = static_cast<int>(*runsValue);
    const long maxLines = *maxLinesValue;
    mkdir(work.c_str(), 0755);
    std::printf("best of %d runs; peak RSS from wait4 (largest of the runs)\n", runs);
    std::printf("%8s | %6s %8s %7s %7s %8s | %6s %8s %7s %7s | %7s %7s\n", "lines", "pages", "print s", "pages/s",
                "proc MB", "print MB", "pages", "enscr s", "pages/s", "proc MB", "speed x", "lines x");
    for (long lines = 100000; lines <= maxLines; lines *= 10) {
        const std::string tag = std::to_string(lines);
        const std::string one = work + "/one-" + tag + ".txt", two = work + "/two-" + tag + ".txt";
        const std::string ours = work + "/vantrel-" + tag + ".pdf", theirs = work + "/enscript-" + tag + ".pdf";
        WritePair(lines, one, two);
        const Measure print = Run({argv[0], "--child", one, two, ours}, runs);
        const Measure enscript =
            Run({"sh", "-c", "enscript -q -B -f Courier10 -o - \"$0\" | ps2pdf - \"$1\"", one, theirs}, runs);
        const long ourPages = PdfPages(ours), theirPages = PdfPages(theirs);
        const double seconds = ValueAfter(print.out, "print-seconds");
        const double printMb = (ValueAfter(print.out, "peak-kb") - ValueAfter(print.out, "rss-before-kb")) / 1024;
        const double ourRate = static_cast<double>(ourPages) / seconds;
        const double theirRate = static_cast<double>(theirPages) / enscript.seconds;
        std::printf("%8ld | %6ld %8.2f %7.0f %7.1f %8.1f | %6ld %8.2f %7.0f %7.1f | %7.2f %7.2f%s\n", lines, ourPages,
                    seconds, ourRate, static_cast<double>(print.peakKb) / 1024, printMb, theirPages, enscript.seconds,
                    theirRate, static_cast<double>(enscript.peakKb) / 1024, ourRate / theirRate,
                    enscript.seconds / seconds, ValueAfter(print.out, "ok") == 1 ? "" : "  NOT PRINTED");
        std::fflush(stdout);
    }
    std::printf("\nprint s: press on Print to the PDF written (left pane, progress dialog included);\n"
                "print MB: what printing added to the resident size beyond the comparison;\n"
                "proc MB: the whole process (window, comparison and printing; enscript and ps2pdf);\n"
                "speed x: pages per second against enscript | ps2pdf; lines x: same lines, time ratio.\n");
    return 0;
}
