// vantrel-diff [OPTION]... FILE1 FILE2
// Compares two files and prints their differences in normal or unified
// form; exits 0 identical, 1 different, 2 trouble (the reason goes to
// standard error as "vantrel-diff: PATH: reason").

#include "Options.h"
#include "vantrel/Version.h"

#include "engine/Comparison.h"
#include "engine/Emit.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int Complain(const std::string& text)
{
    std::fprintf(stderr, "vantrel-diff: %s\n", text.c_str());
    return 2;
}

InputFile Open(const std::string& operand)
{
    return operand == "-" ? InputFile::StandardInput() : InputFile(operand);
}

std::string Header(const CommandLine& cmd, int side, const InputFile& file)
{
    if (static_cast<int>(cmd.labels.size()) > side)
        return cmd.labels[static_cast<std::size_t>(side)];
    return cmd.operands[static_cast<std::size_t>(side)] + '\t' + Emit::HeaderTime(file.ModificationTime());
}

int Report(const CommandLine& cmd, const Comparison& c, const InputFile& one, const InputFile& two)
{
    switch (c.outcome) {
    case Outcome::Identical: return 0;
    case Outcome::Failed:
        if (c.trouble == Trouble::OutOfMemory)
            return Complain("memory exhausted");
        if (c.trouble == Trouble::TooManyLines)
            return Complain("too many lines to compare");
        return Complain(c.fileError.path + ": " + c.fileError.Reason());
    case Outcome::BinaryDiffer:
        std::printf("Binary files %s and %s differ\n", cmd.operands[0].c_str(), cmd.operands[1].c_str());
        break;
    case Outcome::Different: {
        OutputSink out(stdout);
        if (cmd.unified)
            Emit::WriteUnified(out, *c.files[0], *c.files[1], c.hunks, cmd.context, Header(cmd, 0, one),
                               Header(cmd, 1, two));
        else
            Emit::WriteNormal(out, *c.files[0], *c.files[1], c.hunks);
        if (!out.Finish())
            return Complain(std::string("standard output: ") + std::strerror(errno));
        return 1;
    }
    }
    if (std::fflush(stdout) != 0)
        return Complain(std::string("standard output: ") + std::strerror(errno));
    return 1;
}

}  // namespace

int main(int argc, char* argv[])
{
#if defined(__GLIBC__)
    // Large work arrays come and go during a comparison. A fixed threshold
    // keeps them in their own mappings, returned to the system when freed;
    // glibc's default raises the threshold after the first free and then
    // leaves freed blocks in the heap, which inflates the peak.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    const CommandLine cmd = ParseCommandLine(argc, argv);
    if (!cmd.error.empty()) {
        Complain(cmd.error);
        return cmd.hint ? Complain("Try 'vantrel-diff --help' for more information.") : 2;
    }
    if (cmd.action == CommandLine::Action::Help) {
        std::fputs(UsageText(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    if (cmd.action == CommandLine::Action::Version) {
        std::puts("vantrel-diff " VANTREL_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    InputFile one = Open(cmd.operands[0]);
    InputFile two = Open(cmd.operands[1]);
    const Comparison c = CompareInputs(one, two, cmd.settings);
    return Report(cmd, c, one, two);
}
