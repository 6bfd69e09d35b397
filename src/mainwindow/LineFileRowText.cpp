#include "mainwindow/LineFileRowText.h"

#include "compare/RowText.h"

QString LineFileRowText::RowText(std::int32_t line) const
{
    if (!m_file || line < 0 || line >= m_file->LineCount())
        return {};
    return ::RowText::rowText(std::int64_t{line} + 1, m_file->Line(line));
}
