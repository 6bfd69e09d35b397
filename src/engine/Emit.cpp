#include "engine/Emit.h"

#include "engine/EmitText.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace {

using namespace Emit;

constexpr std::string_view kNoNewline = "\\ No newline at end of file";
// Gathered output is written in pieces of this size; a piece at least this
// long is written directly instead of being copied into the buffer.
constexpr std::size_t kSinkBuffer = std::size_t{1} << 18;

void AppendNumber(std::string& out, std::int64_t n)
{
    out += std::to_string(n);
}

// "first" or "first,last" in 1-based line numbers.
void AppendRange(std::string& out, std::int64_t first, std::int64_t count)
{
    AppendNumber(out, first + 1);
    if (count > 1) {
        out += ',';
        AppendNumber(out, first + count);
    }
}

void CommandLine(std::string& out, const LineDiff::Hunk& h)
{
    out.clear();
    if (h.count1 == 0) {
        AppendNumber(out, h.first1);
        out += 'a';
        AppendRange(out, h.first2, h.count2);
    } else if (h.count2 == 0) {
        AppendRange(out, h.first1, h.count1);
        out += 'd';
        AppendNumber(out, h.first2);
    } else {
        AppendRange(out, h.first1, h.count1);
        out += 'c';
        AppendRange(out, h.first2, h.count2);
    }
}

bool EndsWithoutNewline(const LineFile& file, std::int64_t first, std::int64_t count)
{
    return count > 0 && file.LineLacksNewline(first + count - 1);
}

std::int64_t NormalLineCount(const LineFile& one, const LineFile& two, const LineDiff::Hunk& h)
{
    if (h.ignored)
        return 0;
    return 1 + h.count1 + h.count2 + ((h.count1 > 0 && h.count2 > 0) ? 1 : 0)
           + (EndsWithoutNewline(one, h.first1, h.count1) ? 1 : 0)
           + (EndsWithoutNewline(two, h.first2, h.count2) ? 1 : 0);
}

// Line `offset` of the normal output of one hunk.
Emit::NormalLines::Line NormalHunkLine(const LineFile& a, const LineFile& b, const LineDiff::Hunk& h,
                                       std::int64_t offset, std::string& scratch)
{
    if (offset-- == 0) {
        CommandLine(scratch, h);
        return {{}, scratch};
    }
    if (offset < h.count1)
        return {"< ", a.RawLine(h.first1 + offset)};
    offset -= h.count1;
    if (EndsWithoutNewline(a, h.first1, h.count1) && offset-- == 0)
        return {{}, kNoNewline};
    if (h.count1 > 0 && h.count2 > 0 && offset-- == 0)
        return {{}, "---"};
    if (offset < h.count2)
        return {"> ", b.RawLine(h.first2 + offset)};
    return {{}, kNoNewline};
}

// "-l,s" / "+l,s" of a unified hunk header: the length is left out when
// it is 1, and an empty range names the line before it.
void AppendUnifiedRange(std::string& out, char sign, std::int64_t first, std::int64_t count)
{
    out += sign;
    AppendNumber(out, count == 0 ? first : first + 1);
    if (count != 1) {
        out += ',';
        AppendNumber(out, count);
    }
}

// The marks of line k of a hunk's side (0: File One) when it is paired.
const std::vector<bool>* Paired(const std::vector<modVantrel::CharacterDiffResult>& paired, std::int64_t k, int side)
{
    if (k >= static_cast<std::int64_t>(paired.size()))
        return nullptr;
    const modVantrel::CharacterDiffResult& r = paired[static_cast<std::size_t>(k)];
    return side == 0 ? &r.marks1 : &r.marks2;
}

// " heading" after a hunk header, when there is one.
void AppendHeading(std::string& out, std::string_view heading)
{
    if (!heading.empty())
        out.append(" ").append(heading);
}

}  // namespace

OutputSink::OutputSink(std::FILE* out) : m_out(out)
{
}

OutputSink::OutputSink(Writer writer) : m_writer(std::move(writer))
{
}

OutputSink::~OutputSink()
{
    Flush();
}

void OutputSink::Write(std::string_view piece)
{
    if (m_buffer.size() + piece.size() > kSinkBuffer)
        Flush();
    if (piece.size() >= kSinkBuffer) {
        m_ok = m_ok && Put(piece);
        return;
    }
    m_buffer.append(piece);
}

void OutputSink::Flush()
{
    if (!m_buffer.empty())
        m_ok = m_ok && Put(m_buffer);
    m_buffer.clear();
}

bool OutputSink::Put(std::string_view piece)
{
    if (m_writer)
        return m_writer(piece);
    return std::fwrite(piece.data(), 1, piece.size(), m_out) == piece.size();
}

bool OutputSink::Finish()
{
    Flush();
    m_ok = m_ok && (m_writer || std::fflush(m_out) == 0);
    return m_ok;
}

namespace Emit {

NormalLines::NormalLines(const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks)
    : m_one(one), m_two(two), m_hunks(hunks)
{
    m_hunkStart.reserve(hunks.size());
    for (const LineDiff::Hunk& h : hunks) {
        m_hunkStart.push_back(m_count);
        m_count += NormalLineCount(one, two, h);
    }
}

NormalLines::Line NormalLines::At(std::int64_t index, std::string& scratch) const
{
    const auto it = std::upper_bound(m_hunkStart.begin(), m_hunkStart.end(), index);
    const auto hunk = static_cast<std::size_t>(it - m_hunkStart.begin()) - 1;
    return NormalHunkLine(m_one, m_two, m_hunks[hunk], index - m_hunkStart[hunk], scratch);
}

void WriteNormal(OutputSink& out, const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks)
{
    WriteNormal(out, {one, two, hunks}, Layout{});
}

void WriteNormal(OutputSink& out, const Pair& pair, const Layout& layout)
{
    std::string command;
    for (const LineDiff::Hunk& h : pair.hunks) {
        if (h.ignored)
            continue;
        CommandLine(command, h);
        if (layout.colors)
            command = layout.colors->Start(layout.colors->ln) + command + layout.colors->Reset();
        command += '\n';
        out.Write(command);
        const std::vector<modVantrel::CharacterDiffResult> paired = PairedLineMarks(pair, h, layout);
        for (std::int64_t k = 0; k < h.count1; ++k)
            WriteMarkedLine(out, {'<', true}, pair.one, h.first1 + k, layout, Paired(paired, k, 0));
        if (h.count1 > 0 && h.count2 > 0)
            out.Write("---\n");
        for (std::int64_t k = 0; k < h.count2; ++k)
            WriteMarkedLine(out, {'>', true}, pair.two, h.first2 + k, layout, Paired(paired, k, 1));
    }
}

void WriteUnified(OutputSink& out, const LineFile& one, const LineFile& two, const std::vector<LineDiff::Hunk>& hunks,
                  std::int64_t context, std::string_view header1, std::string_view header2)
{
    ContextForm form;
    form.lines = context;
    form.header1 = header1;
    form.header2 = header2;
    WriteUnified(out, {one, two, hunks}, form);
}

void WriteUnified(OutputSink& out, const Pair& pair, const ContextForm& form)
{
    const std::vector<Group> groups = GroupHunks(pair, form.lines);
    if (groups.empty())
        return;
    const Palette* colors = form.layout.colors;
    const std::string start = colors ? colors->Start(colors->hd) : std::string();
    const std::string reset = colors ? colors->Reset() : std::string();
    std::string text = start + "--- ";
    text.append(form.header1).append(reset).append("\n").append(start).append("+++ ").append(form.header2);
    text.append(reset).append("\n");
    out.Write(text);
    const auto lines = [&](char flag, const LineFile& file, std::int64_t first, std::int64_t end,
                           const std::vector<modVantrel::CharacterDiffResult>* paired = nullptr) {
        for (std::int64_t i = first; i < end; ++i)
            WriteMarkedLine(out, {flag, false}, file, i, form.layout,
                            paired ? Paired(*paired, i - first, flag == '-' ? 0 : 1) : nullptr);
    };
    for (const Group& g : groups) {
        text = colors ? colors->Start(colors->ln) : std::string();
        text += "@@ ";
        AppendUnifiedRange(text, '-', g.start1, g.stop1 - g.start1);
        text += ' ';
        AppendUnifiedRange(text, '+', g.start2, g.stop2 - g.start2);
        text += " @@";
        text += reset;
        if (form.sections)
            AppendHeading(text, form.sections->Before(pair.one, g.start1));
        text += '\n';
        out.Write(text);
        std::int64_t at1 = g.start1;
        for (std::size_t k = g.first; k <= g.last; ++k) {
            const LineDiff::Hunk& h = pair.hunks[k];
            const std::vector<modVantrel::CharacterDiffResult> paired = PairedLineMarks(pair, h, form.layout);
            lines(' ', pair.one, at1, h.first1);
            lines('-', pair.one, h.first1, h.first1 + h.count1, &paired);
            lines('+', pair.two, h.first2, h.first2 + h.count2, &paired);
            at1 = h.first1 + h.count1;
        }
        lines(' ', pair.one, at1, g.stop1);
    }
}

std::string HeaderTime(FileTime time)
{
    const auto seconds = static_cast<std::time_t>(time.seconds);
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[64];
    char zone[16];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local);
    char nanos[16];
    std::snprintf(nanos, sizeof nanos, ".%09d ", static_cast<int>(time.nanoseconds));
    return std::string(date) + nanos + zone;
}

}  // namespace Emit
