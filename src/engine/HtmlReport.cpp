#include "engine/HtmlReport.h"

#include <charconv>
#include <ctime>

namespace HtmlReport {
namespace {

// The page's look. Row colours are those of the grids; print keeps them,
// repeats the column heads on every page and never splits a row.
constexpr std::string_view kStyle =
    "body{font-family:sans-serif;margin:1em;color:#000;background:#fff}"
    "h1{font-size:1.2em}"
    "table.files{border-collapse:collapse;margin-bottom:.6em}"
    "table.files th,table.files td{text-align:left;vertical-align:top;padding:.1em .6em;"
    "border:1px solid #ccc;white-space:pre-line}"
    "p.legend span{display:inline-block;padding:0 .5em;margin-right:.4em;border:1px solid #ccc}"
    "table.rows{border-collapse:collapse;width:100%;table-layout:fixed;font-family:monospace}"
    "table.rows td{padding:0 .3em;white-space:pre-wrap;overflow-wrap:anywhere;vertical-align:top}"
    "table.rows col.n{width:5em}"
    "td.n{text-align:right;color:#555;background:#f4f4f4}"
    ".c{background:#ddddff}.o{background:#ffe1c4}.g{background:#e0e0e0}.m{background:#d4f2d4}"
    ".f{background:#fafafa}"
    "mark{background:#b2b2ff;color:inherit}"
    "tr.bm td.n,span.bm{background:#ffd54f;color:#000;font-weight:bold}"
    "tr.gap td{text-align:center;font-style:italic;color:#555;background:#f4f4f4}"
    "*{-webkit-print-color-adjust:exact;print-color-adjust:exact}"
    "@page{margin:1.5cm 1cm}"
    "@media print{body{margin:0}table.rows{font-size:8pt}thead{display:table-header-group}"
    "tr,p.legend{break-inside:avoid;page-break-inside:avoid}}";

// Bytes of a valid UTF-8 line that are not written as they are: markup,
// TAB and CR, and the first byte of the line and paragraph separators.
constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> special{};
    for (const unsigned char c : {'&', '<', '>', '"', '\'', '\t', '\r', '\xE2'})
        special[c] = true;
    return special;
}();

void AppendUtf8(std::string& html, char32_t c)
{
    if (c < 0x80) {
        html += static_cast<char>(c);
    } else if (c < 0x800) {
        html += static_cast<char>(0xC0 | (c >> 6));
        html += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        html += static_cast<char>(0xE0 | (c >> 12));
        html += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        html += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        html += static_cast<char>(0xF0 | (c >> 18));
        html += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        html += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        html += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One character of a line as the grids show it: markup escaped, a TAB as
// three spaces, and a CR and the line and paragraph separators as symbols,
// so that a row is one line of text.
void AppendCharacter(std::string& html, char32_t c)
{
    switch (c) {
    case U'&': html += "&amp;"; break;
    case U'<': html += "&lt;"; break;
    case U'>': html += "&gt;"; break;
    case U'"': html += "&quot;"; break;
    case U'\'': html += "&#39;"; break;
    case U'\t': html += "   "; break;
    case U'\r': html += "\xE2\x86\x90"; break;   // U+2190
    case 0x2028: html += "\xE2\x86\xB5"; break;  // U+21B5
    case 0x2029: html += "\xC2\xB6"; break;      // U+00B6
    default: AppendUtf8(html, c);
    }
}

// The page is written in pieces of about this size at least: a long line's
// text is never held whole a second time.
constexpr std::size_t kPiece = std::size_t{1} << 16;

// Appends `piece` to what `html` gathers, writing the gathered text out
// once it is a piece's size; a large piece goes out as it is.
void Put(OutputSink& out, std::string& html, std::string_view piece)
{
    if (piece.size() >= kPiece) {
        out.Write(html);
        html.clear();
        out.Write(piece);
        return;
    }
    html.append(piece);
    if (html.size() >= kPiece) {
        out.Write(html);
        html.clear();
    }
}

// Valid UTF-8 text: runs of plain bytes are put whole, which is what most
// lines are made of.
void PutUtf8(OutputSink& out, std::string& html, std::string_view bytes)
{
    std::size_t plain = 0;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        const auto b = static_cast<unsigned char>(bytes[at]);
        if (!kSpecial[b])
            continue;
        Put(out, html, bytes.substr(plain, at - plain));
        char32_t c = b;
        int length = 1;
        if (b == 0xE2)
            length = Unicode::DecodeUtf8(reinterpret_cast<const unsigned char*>(bytes.data()) + at,
                                         reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size(), c);
        AppendCharacter(html, c);
        at += static_cast<std::size_t>(length) - 1;
        plain = at + 1;
    }
    Put(out, html, bytes.substr(plain));
}

// A line's text, the characters whose mark is false inside <mark>.
void PutText(OutputSink& out, std::string& html, std::string_view bytes, const std::vector<bool>& marks)
{
    const auto differs = [&marks](std::size_t at) { return at < marks.size() && !marks[at]; };
    if (Unicode::IsValidUtf8(bytes)) {
        // Runs of bytes marked alike, never ending inside a character.
        for (std::size_t start = 0; start < bytes.size();) {
            const bool marked = differs(start);
            std::size_t end = start + 1;
            while (end < bytes.size()
                   && (differs(end) == marked || (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80))
                ++end;
            if (marked)
                html += "<mark>";
            PutUtf8(out, html, bytes.substr(start, end - start));
            if (marked)
                html += "</mark>";
            start = end;
        }
        return;
    }
    bool open = false;
    ForEachCharacter(bytes, [&](std::size_t at, std::size_t, char32_t c) {
        if (differs(at) != open)
            html += open ? "</mark>" : "<mark>";
        open = differs(at);
        AppendCharacter(html, c);
        Put(out, html, {});
    });
    if (open)
        html += "</mark>";
}

void AppendNumber(std::string& html, std::int64_t n)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    html.append(digits, end);
}

const char* CellClass(const Cell& cell)
{
    switch (cell.shade) {
    case Shade::Changed: return "t c";
    case Shade::OneSided: return "t o";
    case Shade::Skipped: return "t g";
    case Shade::Moved: return "t m";
    case Shade::Plain: break;
    }
    return cell.line < 0 ? "t f" : "t";
}

void WriteRow(OutputSink& out, std::string& html, const Row& row)
{
    html.assign(row.bookmarked ? "<tr class=\"bm\">" : "<tr>");
    for (const Cell& cell : row.cells) {
        html += "<td class=\"n\">";
        if (row.bookmarked)
            html += "&#9670;";
        if (cell.line >= 0)
            AppendNumber(html, cell.line + 1);
        html += "</td><td class=\"";
        html += CellClass(cell);
        html += "\">";
        PutText(out, html, cell.text, cell.marks);
        html += "</td>";
    }
    html += "</tr>\n";
    out.Write(html);
}

// Rows left out of the page, as one row that says how many.
void WriteGap(OutputSink& out, std::int64_t rows, std::string& html)
{
    if (rows <= 0)
        return;
    html.assign("<tr class=\"gap\"><td colspan=\"4\">\xE2\x8B\xAF ");
    AppendNumber(html, rows);
    html += rows == 1 ? " unchanged line \xE2\x8B\xAF</td></tr>\n" : " unchanged lines \xE2\x8B\xAF</td></tr>\n";
    out.Write(html);
}

std::string NameAndTime(const FileHeading& file)
{
    std::string text = file.name;
    const std::string time = file.modified ? LocalTime(*file.modified) : std::string();
    if (!time.empty())
        text.append("\nModified ").append(time);
    return text;
}

}  // namespace

std::string LocalTime(std::int64_t seconds)
{
    const auto t = static_cast<std::time_t>(seconds);
    std::tm local{};
    char time[32];
    if (localtime_r(&t, &local) && std::strftime(time, sizeof time, "%Y-%m-%d %H:%M:%S", &local) > 0)
        return time;
    return {};
}

void WriteLegend(OutputSink& out, const Heading& heading)
{
    std::string html =
        "<p class=\"legend\">Legend: <span class=\"t c\">changed line</span><span class=\"t o\">line in one file "
        "only</span>";
    if (heading.moved)
        html += "<span class=\"t m\">moved line</span>";
    if (heading.skipped)
        html += "<span class=\"t g\">line left out of the comparison</span>";
    html += "<span><mark>differing characters</mark></span><span class=\"t f\">filler (no line)</span>";
    if (heading.bookmarks)
        html += "<span class=\"bm\">&#9670; bookmark</span>";
    out.Write(html + "</p>\n");
}

void WritePageStart(OutputSink& out, std::string_view title, std::string_view moreStyle)
{
    std::string html = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    html += Escaped(title);
    html += "</title>\n<style>";
    html += kStyle;
    html += moreStyle;
    html += "</style>\n</head>\n<body>\n";
    out.Write(html);
}

void WritePageEnd(OutputSink& out)
{
    out.Write("</body>\n</html>\n");
}

void WriteFiles(OutputSink& out, const std::array<FileHeading, 2>& files)
{
    std::string html = "<table class=\"files\">\n";
    for (std::size_t side = 0; side < 2; ++side) {
        html += side == 0 ? "<tr><th>File One</th><td class=\"name\">" : "<tr><th>File Two</th><td class=\"name\">";
        html += Escaped(NameAndTime(files[side])) + "</td><td class=\"facts\">";
        html += Escaped(files[side].facts) + "</td></tr>\n";
    }
    out.Write(html + "</table>\n");
}

void WriteRows(OutputSink& out, RowSource& rows, const std::vector<Span>& spans)
{
    out.Write("<table class=\"rows\"><colgroup><col class=\"n\"><col><col class=\"n\"><col></colgroup>\n"
              "<thead><tr><th>Line</th><th>File One</th><th>Line</th><th>File Two</th></tr></thead>\n<tbody>\n");
    Row row;
    std::string html;
    std::int64_t next = 0;  // the first row neither written nor left out
    for (const Span& span : spans) {
        WriteGap(out, span.first - next, html);
        for (std::int64_t index = span.first; index < span.first + span.count; ++index) {
            row.bookmarked = false;
            for (Cell& cell : row.cells) {
                cell.line = -1;
                cell.shade = Shade::Plain;
                cell.text = {};
                cell.marks.clear();
            }
            rows.Fill(index, row);
            WriteRow(out, html, row);
        }
        next = span.first + span.count;
    }
    WriteGap(out, rows.RowCount() - next, html);
    out.Write("</tbody></table>\n");
}

void Write(OutputSink& out, const Heading& heading, RowSource& rows, const std::vector<Span>& spans)
{
    WritePageStart(out, "Comparison of " + heading.files[0].name + " and " + heading.files[1].name);
    out.Write("<h1>Comparison of two files</h1>\n");
    WriteFiles(out, heading.files);
    out.Write(heading.ignored.empty()
                  ? std::string("<p class=\"ignored\">Nothing was ignored.</p>\n")
                  : "<p class=\"ignored\">Compared " + Escaped(Ignoring(heading.ignored)) + ".</p>\n");
    WriteLegend(out, heading);
    WriteRows(out, rows, spans);
    WritePageEnd(out);
}

void Write(OutputSink& out, const Heading& heading, RowSource& rows)
{
    Write(out, heading, rows, {{0, rows.RowCount()}});
}

std::string Ignoring(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t k = 0; k < names.size(); ++k) {
        text += k == 0 ? "ignoring " : k + 1 == names.size() ? " and " : ", ";
        text += names[k];
    }
    return text;
}

std::string Escaped(std::string_view text)
{
    std::string html;
    html.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': html += "&amp;"; break;
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '"': html += "&quot;"; break;
        case '\'': html += "&#39;"; break;
        default: html += c;
        }
    }
    return html;
}

}  // namespace HtmlReport
