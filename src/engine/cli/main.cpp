// vantrel-diff [-i] [-w] [-a] FILE1 FILE2 | --version
// Prints the engine's result lines; exits 0 identical, 1 different,
// 2 trouble (the reason goes to standard error).

#include "engine/cDiffEngine.h"
#include "vantrel/Version.h"

#include <QCoreApplication>
#include <QStringList>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

int Usage(const char* complaint)
{
    if (complaint)
        std::fprintf(stderr, "vantrel-diff: %s\n", complaint);
    std::fprintf(stderr, "usage: vantrel-diff [-i] [-w] [-a] FILE1 FILE2\n"
                         "  -i  ignore case\n  -w  ignore all white space\n  -a  compare as text even when binary\n");
    return 2;
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
    // No QCoreApplication is needed: the engine uses only QtCore classes
    // that work without one. Paths are taken in the system's encoding.
    cDiffEngine engine;
    QStringList files;
    bool optionsDone = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!optionsDone && std::strcmp(arg, "--") == 0) {
            optionsDone = true;
        } else if (!optionsDone && std::strcmp(arg, "--version") == 0) {
            std::printf("vantrel-diff %s\n", VANTREL_VERSION);
            return 0;
        } else if (!optionsDone && arg[0] == '-' && arg[1] != '\0') {
            for (const char* p = arg + 1; *p; ++p) {
                switch (*p) {
                case 'i': engine.IgnoreCase(true); break;
                case 'w': engine.IgnoreWhiteSpace(true); break;
                case 'a': engine.ForceTextCompare(true); break;
                case 'h': Usage(nullptr); return 0;
                default: {
                    const char option[] = {*p, '\0'};
                    std::fprintf(stderr, "vantrel-diff: unknown option -%s\n", option);
                    return Usage(nullptr);
                }
                }
            }
        } else {
            files << QString::fromLocal8Bit(arg);
        }
    }
    if (files.size() != 2)
        return Usage(files.size() < 2 ? "two files are needed" : "too many files");

    const int code = engine.CompareFiles(files[0], files[1]);
    if (code == 2) {
        std::fprintf(stderr, "vantrel-diff: %s\n", engine.ResultLine(0).toLocal8Bit().constData());
        return 2;
    }
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    if (!engine.WriteResult(stdout)) {
        std::fprintf(stderr, "vantrel-diff: cannot write the result: %s\n", std::strerror(errno));
        return 2;
    }
    return code;
}
