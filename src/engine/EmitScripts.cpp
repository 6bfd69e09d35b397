// The script forms: an ed script, the RCS form, and the merged #ifdef file.

#include "engine/Emit.h"
#include "engine/EmitText.h"

namespace Emit {

namespace {

// Lines first..first + count - 1 of `file`, each with an LF whether or not
// the file has one.
void WritePlain(OutputSink& out, const LineFile& file, std::int64_t first, std::int64_t count)
{
    for (std::int64_t i = first; i < first + count; ++i) {
        out.Write(file.RawLine(i));
        out.Write("\n");
    }
}

// The text an ed "a" or "c" command adds. A line holding only "." would
// end it, so it is written as ".." and put right by an "s/.//" command,
// after which adding goes on with a new "a".
void WriteEdText(OutputSink& out, const LineFile& file, std::int64_t first, std::int64_t count)
{
    bool ended = false;
    for (std::int64_t i = first; i < first + count; ++i) {
        const std::string_view text = file.RawLine(i);
        ended = text == ".";
        out.Write(ended ? ".." : text);
        out.Write("\n");
        if (ended)
            out.Write(i + 1 < first + count ? ".\ns/.//\na\n" : ".\ns/.//\n");
    }
    if (!ended)
        out.Write(".\n");
}

// "dL N" or "aL N". (The pieces are written one by one: GCC 12 at -O3
// reports a false -Wrestrict for a chain of std::string additions.)
void WriteCommand(OutputSink& out, char command, std::int64_t line, std::int64_t count)
{
    out.Write(std::string_view(&command, 1));
    out.Write(std::to_string(line));
    out.Write(" ");
    out.Write(std::to_string(count));
    out.Write("\n");
}

void WriteDirective(OutputSink& out, std::string_view head, std::string_view name, std::string_view tail)
{
    out.Write(head);
    out.Write(name);
    out.Write(tail);
}

}  // namespace

void WriteEd(OutputSink& out, const Pair& pair)
{
    std::string command;
    for (auto it = pair.hunks.rbegin(); it != pair.hunks.rend(); ++it) {
        const LineDiff::Hunk& h = *it;
        if (h.ignored)
            continue;
        command.clear();
        if (h.count1 == 0) {
            command = std::to_string(h.first1);
        } else {
            AppendSpan(command, h.first1, h.count1);
        }
        command += h.count1 == 0 ? "a\n" : h.count2 == 0 ? "d\n" : "c\n";
        out.Write(command);
        if (h.count2 > 0)
            WriteEdText(out, pair.two, h.first2, h.count2);
    }
}

void WriteRcs(OutputSink& out, const Pair& pair)
{
    for (const LineDiff::Hunk& h : pair.hunks) {
        if (h.ignored)
            continue;
        if (h.count1 > 0)
            WriteCommand(out, 'd', h.first1 + 1, h.count1);
        if (h.count2 == 0)
            continue;
        WriteCommand(out, 'a', h.first1 + h.count1, h.count2);
        for (std::int64_t j = h.first2; j < h.first2 + h.count2; ++j) {
            out.Write(pair.two.RawLine(j));
            if (!pair.two.LineLacksNewline(j))
                out.Write("\n");
        }
    }
}

void WriteIfdef(OutputSink& out, const Pair& pair, std::string_view name)
{
    std::int64_t at = 0;
    // An ignored hunk's lines are written as File One has them, as common ones.
    for (const LineDiff::Hunk& h : pair.hunks) {
        if (h.ignored)
            continue;
        WritePlain(out, pair.one, at, h.first1 - at);
        if (h.count2 == 0) {
            WriteDirective(out, "#ifndef ", name, "\n");
            WritePlain(out, pair.one, h.first1, h.count1);
            WriteDirective(out, "#endif /* ! ", name, " */\n");
        } else {
            WriteDirective(out, h.count1 == 0 ? "#ifdef " : "#ifndef ", name, "\n");
            WritePlain(out, pair.one, h.first1, h.count1);
            if (h.count1 > 0)
                WriteDirective(out, "#else /* ", name, " */\n");
            WritePlain(out, pair.two, h.first2, h.count2);
            WriteDirective(out, "#endif /* ", name, " */\n");
        }
        at = h.first1 + h.count1;
    }
    WritePlain(out, pair.one, at, pair.one.LineCount() - at);
}

}  // namespace Emit
