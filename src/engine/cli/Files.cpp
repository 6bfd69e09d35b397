#include "Files.h"

#include "Quote.h"
#include "Report.h"

#include "engine/Comparison.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

using Style = CommandLine::Style;

// diff decides that a file is binary by its first buffer's worth of bytes.
constexpr std::size_t kBinaryProbe = 4096;

InputFile Open(const Operand& operand)
{
    if (operand.absent)
        return InputFile("/dev/null");
    return operand.path == "-" ? InputFile::StandardInput() : InputFile(operand.path);
}

std::string Header(const Run& run, int side, const Operand& operand, const InputFile& file)
{
    const CommandLine& cmd = run.cmd;
    if (static_cast<int>(cmd.labels.size()) > side)
        return cmd.labels[static_cast<std::size_t>(side)];
    // An absent file is shown with the earliest time there is.
    const FileTime time = operand.absent ? FileTime{} : file.ModificationTime();
    return Cat({QuotedName(operand.path), "\t", Emit::HeaderTime(time)});
}

// The line that heads a pair's differences in a folder comparison.
std::string PairLine(const CommandLine& cmd, const Operand& one, const Operand& two)
{
    std::string line = "diff";
    for (const std::string& option : cmd.switches)
        line.append(" ").append(ShellQuoted(option));
    return Cat({line, " ", QuotedName(one.path), " ", QuotedName(two.path), "\n"});
}

// Writes the differences in the chosen style; false when the output failed.
bool WriteDifferences(Run& run, const Comparison& c, const Operand (&operands)[2], const InputFile (&files)[2])
{
    const CommandLine& cmd = run.cmd;
    OutputSink out(stdout);
    if (cmd.style == Style::Html) {
        WriteReport(out, cmd, c, operands, files);
        return out.Finish();
    }
    const Emit::Pair pair{*c.files[0], *c.files[1], c.hunks};
    const std::string header1 = Header(run, 0, operands[0], files[0]);
    const std::string header2 = Header(run, 1, operands[1], files[1]);
    Emit::ContextForm form;
    form.lines = cmd.context;
    form.header1 = header1;
    form.header2 = header2;
    form.sections = run.Sections();
    form.layout = cmd.layout;
    // Only the normal and unified forms are coloured.
    const Emit::Palette* colors = run.Colors();
    if (cmd.style == Style::Normal || cmd.style == Style::Unified)
        form.layout.colors = colors;
    switch (cmd.style) {
    case Style::Normal: Emit::WriteNormal(out, pair, form.layout); break;
    case Style::Unified: Emit::WriteUnified(out, pair, form); break;
    case Style::Context: Emit::WriteContext(out, pair, form); break;
    case Style::Rcs: Emit::WriteRcs(out, pair); break;
    case Style::Ifdef: Emit::WriteIfdef(out, pair, cmd.ifdefName); break;
    case Style::SideBySide: Emit::WriteSideBySide(out, pair, cmd.sideBySide, cmd.layout); break;
    case Style::Ed: Emit::WriteEd(out, pair); break;
    case Style::Html: break;
    }
    return out.Finish();
}

void Write(Run& run, const Comparison& c, const Operand (&operands)[2], const InputFile (&files)[2])
{
    if (!WriteDifferences(run, c, operands, files)) {
        std::fprintf(stderr, "vantrel-diff: standard output: %s\n", std::strerror(errno));
        std::exit(2);
    }
}

bool ShowsWhole(const CommandLine& cmd)
{
    return !cmd.brief && (cmd.style == Style::SideBySide || cmd.style == Style::Ifdef || cmd.style == Style::Html);
}

// The verdict on a pair as it is reported.
void Report(Run& run, const Comparison& c, const Operand (&operands)[2], const InputFile (&files)[2], bool inFolder)
{
    const CommandLine& cmd = run.cmd;
    const std::string names = Cat({operands[0].path, " and ", operands[1].path});
    switch (c.outcome) {
    case Outcome::Identical:
        // The side-by-side and merged forms show identical files whole.
        if (ShowsWhole(cmd) && c.files[0] && c.files[1]) {
            if (inFolder)
                Print(PairLine(cmd, operands[0], operands[1]));
            Write(run, c, operands, files);
        }
        if (cmd.reportIdentical)
            Print(Cat({"Files ", names, " are identical\n"}));
        return;
    case Outcome::Failed:
        if (c.trouble == Trouble::OutOfMemory)
            return run.Trouble("memory exhausted");
        if (c.trouble == Trouble::TooManyLines)
            return run.Trouble("too many lines to compare");
        return run.Trouble(Cat({c.fileError.path, ": ", c.fileError.Reason()}));
    case Outcome::BinaryDiffer:
        // No page can show them: that is said as diff says it, and as
        // trouble, so that a script never takes the empty output for a
        // report.
        if (cmd.style == Style::Html)
            return run.Trouble(Cat({"Binary files ", names, " differ"}));
        run.Note(1);
        return Print(Cat({cmd.brief ? "Files " : "Binary files ", names, " differ\n"}));
    case Outcome::Different:
        run.Note(1);
        if (cmd.brief)
            return Print(Cat({"Files ", names, " differ\n"}));
        if (inFolder)
            Print(PairLine(cmd, operands[0], operands[1]));
        return Write(run, c, operands, files);
    }
}

// Only whether they differ is asked, and bytes decide it: files of
// different sizes differ without a byte read. A size of 0 is not taken at
// its word (files under /proc report it whatever they hold), as by diff.
bool SizesDiffer(const CommandLine& cmd, const InputFile& one, const InputFile& two)
{
    return cmd.brief && cmd.settings.BytesDecide() && one.Ok() && two.Ok() && one.ReportedSize() > 0
           && two.ReportedSize() > 0 && one.ReportedSize() != two.ReportedSize();
}

// A file found identical from its first block alone is not loaded: the
// block, which then holds all of it, tells.
bool LacksFinalNewline(const LineFile* loaded, const InputFile& file)
{
    if (loaded)
        return loaded->LastLineLacksNewline();
    // (A binary file is not read as lines at all.)
    const std::string_view block = file.FirstBlock();
    return file.ReportedSize() >= 0 && block.size() == static_cast<std::size_t>(file.ReportedSize()) && !block.empty()
           && block.back() != '\n' && !file.LooksBinary(kBinaryProbe);
}

}  // namespace

Run::Run(const CommandLine& command) : cmd(command)
{
    if (!cmd.functionPatterns.empty())
        m_sections = std::make_unique<Emit::SectionFinder>(cmd.functionPatterns);
}

const Emit::Palette* Run::Colors()
{
    if (m_colorsDecided)
        return m_colors.get();
    m_colorsDecided = true;
    if (cmd.color == CommandLine::Color::Never || (cmd.color == CommandLine::Color::Auto && !isatty(STDOUT_FILENO)))
        return nullptr;
    auto palette = std::make_unique<Emit::Palette>();
    palette->ignoreCase = cmd.settings.lines.ignoreCase;
    std::vector<std::string> messages;
    const bool valid = ParsePalette(cmd.palette, *palette, messages);
    std::fflush(stdout);
    for (const std::string& message : messages)
        std::fprintf(stderr, "vantrel-diff: %s\n", message.c_str());
    if (valid)
        m_colors = std::move(palette);
    return m_colors.get();
}

void Run::Trouble(const std::string& text)
{
    std::fflush(stdout);
    std::fprintf(stderr, "vantrel-diff: %s\n", text.c_str());
    status = 2;
}

void Print(const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
        std::fprintf(stderr, "vantrel-diff: standard output: %s\n", std::strerror(errno));
        std::exit(2);
    }
}

void CompareFiles(Run& run, const Operand& one, const Operand& two, bool inFolder)
{
    const Operand operands[2] = {one, two};
    InputFile files[2] = {Open(one), Open(two)};
    if (SizesDiffer(run.cmd, files[0], files[1])) {
        run.Note(1);
        return Print(Cat({"Files ", one.path, " and ", two.path, " differ\n"}));
    }
    CompareSettings settings = run.cmd.settings;
    settings.binaryProbe = kBinaryProbe;
    // ed cannot be told that a last line lacks its newline: it is taken as
    // if it had one, and that is said, as trouble.
    settings.lines.ignoreFinalNewline = run.cmd.style == Style::Ed;
    Comparison c = CompareInputs(files[0], files[1], settings);
    for (int side = 0; side < 2; ++side)
        if (settings.lines.ignoreFinalNewline && c.outcome != Outcome::BinaryDiffer
            && LacksFinalNewline(c.files[side].get(), files[side]))
            run.Trouble(Cat({operands[side].path, ": No newline at end of file\n"}));
    // The same file named twice, or two short files of the same bytes, are
    // found identical without being read as lines; the forms that show
    // them whole read one now: a named one, or standard input itself.
    if (c.outcome == Outcome::Identical && !c.files[0] && ShowsWhole(run.cmd)) {
        const LineFile::Endings endings =
            settings.stripTrailingCr ? LineFile::Endings::StripCr : LineFile::Endings::Keep;
        LineFile::LoadResult loaded;
        if (one.path != "-" || two.path != "-")
            loaded = LineFile::Load(one.path != "-" ? one.path : two.path, LineFile::Wide::Keep, endings);
        else if (files[0].ReadFirstBlock())
            loaded = LineFile::FromOpened(files[0], LineFile::Wide::Keep, endings);
        if (loaded.file && loaded.file->Bytes().substr(0, kBinaryProbe).find('\0') == std::string_view::npos)
            c.files[0] = c.files[1] = loaded.file;
    }
    Report(run, c, operands, files, inFolder);
}
