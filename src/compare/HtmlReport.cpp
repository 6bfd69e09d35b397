#include "compare/HtmlReport.h"

#include "compare/ComparisonModel.h"
#include "compare/FileFactsText.h"
#include "engine/FileNameText.h"
#include "engine/LineFile.h"

#include <QDateTime>
#include <sys/stat.h>

namespace {

// The page's look. Row colours are those of the grids; print keeps them.
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
    ".c{background:#ddddff}.o{background:#ffe1c4}.g{background:#e0e0e0}"
    ".f{background:#fafafa}"
    "mark{background:#b2b2ff;color:inherit}"
    "tr.bm td.n,span.bm{background:#ffd54f;color:#000;font-weight:bold}"
    "*{-webkit-print-color-adjust:exact;print-color-adjust:exact}";

void Append(std::string& out, const QString& text)
{
    out += HtmlReport::Escaped(text).toStdString();
}

// The class of a cell in a pane: the row's colour, or a filler's.
const char* CellClass(std::uint32_t color, bool filler)
{
    if (color == Alignment::kChangedColor)
        return "t c";
    if (color == Alignment::kOrphanColor)
        return "t o";
    if (color == Alignment::kSkippedColor)
        return "t g";
    return filler ? "t f" : "t";
}

// A file's name, kept readable when it is not UTF-8, and its time.
QString NameAndTime(const LineFile& file)
{
    QString text = FileNameText::FromBytes(QByteArrayView(file.Path().data(), qsizetype(file.Path().size())));
    struct stat facts {};
    if (::stat(file.Path().c_str(), &facts) == 0)
        text += QStringLiteral("\nModified ")
                + QDateTime::fromSecsSinceEpoch(facts.st_mtim.tv_sec).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return text;
}

}  // namespace

HtmlReport::HtmlReport(const ComparisonModel& model, bool ignoreCase, QString ignored)
    : m_model(model), m_ignoreCase(ignoreCase), m_ignored(std::move(ignored))
{
}

QString HtmlReport::Escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        case u'\'': out += QStringLiteral("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

void HtmlReport::Write(OutputSink& out) const
{
    WriteHeading(out);
    std::string html;
    for (std::int32_t row = 1; row <= m_model.RowCount(); ++row)
        WriteRow(out, row, html);
    out.Write("</tbody></table>\n</body>\n</html>\n");
}

void HtmlReport::WriteHeading(OutputSink& out) const
{
    const LineFile& one = *m_model.File(0);
    const LineFile& two = *m_model.File(1);
    std::string html = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Comparison of ";
    Append(html, FileNameText::FromBytes(QByteArrayView(one.Path().data(), qsizetype(one.Path().size()))));
    html += " and ";
    Append(html, FileNameText::FromBytes(QByteArrayView(two.Path().data(), qsizetype(two.Path().size()))));
    html += "</title>\n<style>";
    html += kStyle;
    html += "</style>\n</head>\n<body>\n<h1>Comparison of two files</h1>\n<table class=\"files\">\n";
    for (int side = 0; side < 2; ++side) {
        const LineFile& file = side == 0 ? one : two;
        html += side == 0 ? "<tr><th>File One</th><td class=\"name\">" : "<tr><th>File Two</th><td class=\"name\">";
        Append(html, NameAndTime(file));
        html += "</td><td class=\"facts\">";
        Append(html, FileFactsText::Summary(file));
        html += "</td></tr>\n";
    }
    html += "</table>\n<p class=\"ignored\">";
    Append(html, m_ignored.isEmpty() ? QStringLiteral("Nothing was ignored.")
                                     : QStringLiteral("Compared ") + m_ignored + u'.');
    html += "</p>\n<p class=\"legend\">Legend: <span class=\"t c\">changed line</span><span class=\"t o\">line in one "
            "file only</span><span class=\"t g\">line left out of the comparison</span><span><mark>differing "
            "characters</mark></span><span class=\"t f\">filler (no line)</span><span class=\"bm\">&#9670; "
            "bookmark</span></p>\n";
    html += "<table class=\"rows\"><colgroup><col class=\"n\"><col><col class=\"n\"><col></colgroup>\n"
            "<thead><tr><th>Line</th><th>File One</th><th>Line</th><th>File Two</th></tr></thead>\n<tbody>\n";
    out.Write(html);
}

void HtmlReport::WriteRow(OutputSink& out, std::int32_t row, std::string& html) const
{
    const bool fillerOne = m_model.LineOfRow(0, row) == Alignment::kNoLine;
    const bool fillerTwo = m_model.LineOfRow(1, row) == Alignment::kNoLine;
    // The grids' last row shows no line of either file.
    if (fillerOne && fillerTwo)
        return;
    // The marks the grids show, found afresh when the window has not kept
    // them, so that a report keeps no marks of its own.
    modVantrel::CharacterDiffResult found;
    const modVantrel::CharacterDiffResult* marks = nullptr;
    if (m_model.IsChangedLinePair(row)) {
        marks = m_model.KnownRowMarks(row, m_ignoreCase);
        if (!marks) {
            try {
                found = modVantrel::ShownCharacterDiffs(m_model.LineTextOf(0, row), m_model.LineTextOf(1, row),
                                                        m_ignoreCase);
            } catch (const std::bad_alloc&) {
                found = {};
            }
            marks = &found;
        }
    }
    html.assign(m_model.IsBookmarked(row) ? "<tr class=\"bm\">" : "<tr>");
    AppendCells(html, 0, row, marks ? &marks->marks1 : nullptr);
    AppendCells(html, 1, row, marks ? &marks->marks2 : nullptr);
    html += "</tr>\n";
    out.Write(html);
}

void HtmlReport::AppendCells(std::string& html, int side, std::int32_t row, const std::vector<bool>* marks) const
{
    const std::int32_t line = m_model.LineOfRow(side, row);
    html += "<td class=\"n\">";
    if (m_model.IsBookmarked(row))
        html += "&#9670;";
    if (line != Alignment::kNoLine)
        html += std::to_string(line + 1);
    html += "</td><td class=\"";
    html += CellClass(m_model.RowColor(side, row), line == Alignment::kNoLine);
    html += "\">";
    const LineText text = m_model.LineTextOf(side, row);
    // Runs of differing and common characters; a mark is true for a
    // common one, and characters past the marks are not marked.
    const auto differs = [marks](qsizetype k) {
        return marks && k < static_cast<qsizetype>(marks->size()) && !(*marks)[static_cast<std::size_t>(k)];
    };
    qsizetype start = 0;
    while (start < text.size()) {
        const bool marked = differs(start);
        qsizetype end = start + 1;
        while (end < text.size() && differs(end) == marked)
            ++end;
        // A surrogate pair is never split between runs.
        if (end < text.size() && text.at(end).isLowSurrogate())
            ++end;
        if (marked)
            html += "<mark>";
        Append(html, text.mid(start, end - start));
        if (marked)
            html += "</mark>";
        start = end;
    }
    html += "</td>";
}
