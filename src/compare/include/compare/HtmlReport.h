#pragma once
// The shown comparison as one HTML page that needs nothing else to be read:
// both files side by side as the grids show them (line numbers, filler
// rows, the colours of changed and one-sided lines, the differing
// characters of changed line pairs, bookmarks), under a heading naming both
// files with their times, their encoding and line-ending facts, what the
// comparison ignored, and a legend. Styles are in the page; it holds no
// script and names nothing outside it. Rows are written one at a time, so
// writing holds no more than one row beyond the comparison itself.

#include "engine/Emit.h"

#include <QString>

class ComparisonModel;

class HtmlReport {
public:
    // `ignored` says what the comparison ignored (empty for nothing);
    // `ignoreCase` is how the characters of changed lines are compared.
    HtmlReport(const ComparisonModel& model, bool ignoreCase, QString ignored);

    // Writes the page; the model must show a comparison.
    void Write(OutputSink& out) const;

    // Text as HTML shows it literally: &, <, >, " and ' escaped.
    [[nodiscard]] static QString Escaped(const QString& text);

private:
    void WriteHeading(OutputSink& out) const;
    void WriteRow(OutputSink& out, std::int32_t row, std::string& html) const;
    void AppendCells(std::string& html, int side, std::int32_t row, const std::vector<bool>* marks) const;

    const ComparisonModel& m_model;
    bool m_ignoreCase;
    QString m_ignored;
};
