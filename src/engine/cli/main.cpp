// vantrel-diff [OPTION]... FILES
// Compares two files, or two folders, or a folder and a file, and prints
// their differences in the form the options choose; exits 0 identical,
// 1 different, 2 trouble (the reason goes to standard error as
// "vantrel-diff: PATH: reason").

#include "Files.h"
#include "Folders.h"
#include "Options.h"
#include "vantrel/Version.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <regex>
#include <string>

namespace {

int Complain(const std::string& text)
{
    std::fprintf(stderr, "vantrel-diff: %s\n", text.c_str());
    return 2;
}

// Flushes and closes standard output, so that nothing written is lost
// unnoticed: a full disk or a closed descriptor is trouble (2), said as
// `failed` when given, else with the system's reason. A closed standard
// output that nothing was written to is no trouble.
int FinishOutput(int status, const char* failed = nullptr)
{
    int code = std::ferror(stdout) ? (errno != 0 ? errno : EIO) : 0;
    if (std::fflush(stdout) != 0 && code == 0)
        code = errno;
    if (std::fclose(stdout) != 0 && code == 0 && errno != EBADF)
        code = errno;
    if (code == 0)
        return status;
    return Complain(failed ? std::string(failed) : std::string("standard output: ") + std::strerror(code));
}

int Compare(const CommandLine& cmd)
{
    std::unique_ptr<Run> run;
    try {
        run = std::make_unique<Run>(cmd);
    } catch (const std::regex_error& e) {
        return Complain(std::string("invalid regular expression: ") + e.what());
    }
    CompareOperands(*run, cmd.operands[0], cmd.operands[1]);
    return FinishOutput(run->status);
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
    // Patterns read characters as the user's locale encodes them (UTF-8: a
    // "." matches a whole character), as diff's do. Nothing else here
    // depends on the locale.
    std::setlocale(LC_CTYPE, "");
    const CommandLine cmd = ParseCommandLine(argc, argv);
    if (!cmd.error.empty()) {
        Complain(cmd.error);
        return cmd.hint ? Complain("Try 'vantrel-diff --help' for more information.") : 2;
    }
    if (cmd.action == CommandLine::Action::Help) {
        std::fputs(UsageText(), stdout);
        return FinishOutput(0, "write failed");
    }
    if (cmd.action == CommandLine::Action::Version) {
        std::fputs("vantrel-diff " VANTREL_VERSION "\n" VANTREL_LICENSE_NOTICE, stdout);
        return FinishOutput(0);
    }
    return Compare(cmd);
}
