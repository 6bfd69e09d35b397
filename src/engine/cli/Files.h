#pragma once
// One pair of files compared and reported as the command line asks, and
// what a whole run has met so far.

#include "Options.h"

#include "engine/EmitText.h"

#include <memory>
#include <string>

// A file to compare: its path, or a file that does not exist and is taken
// as empty (-N).
struct Operand {
    std::string path;
    bool absent = false;
};

class Run {
public:
    explicit Run(const CommandLine& cmd);

    const CommandLine& cmd;
    // The run's exit status so far: the worst of its comparisons.
    int status = 0;

    void Note(int result) { status = std::max(status, result); }
    // Says "vantrel-diff: TEXT" on standard error; the run is in trouble.
    void Trouble(const std::string& text);
    // A valid pattern finder for -p/-F (checked before anything is read).
    [[nodiscard]] const Emit::SectionFinder* Sections() const { return m_sections.get(); }

    // The colours of the output; null without them. Decided when first
    // asked, as output begins: --palette is read then, and a palette that
    // is not valid is said on standard error and leaves the output plain.
    [[nodiscard]] const Emit::Palette* Colors();

private:
    std::unique_ptr<Emit::SectionFinder> m_sections;
    bool m_colorsDecided = false;
    std::unique_ptr<Emit::Palette> m_colors;
};

// Compares the two files; `inFolder` for a pair found in two folders, which
// is headed by the "diff" line naming it.
void CompareFiles(Run& run, const Operand& one, const Operand& two, bool inFolder);

// Writes `text` to standard output; a failed write ends the program with
// the reason.
void Print(const std::string& text);
