#pragma once
// Bytes of texts for the line-reader tests: a view's bytes, and a text's
// code units in UTF-16 or UTF-32, most significant byte first or last
// (from a view: building a QString would drop a leading U+FEFF).

#include <QByteArray>
#include <QList>
#include <QStringView>
#include <string_view>

inline QByteArray Bytes(std::string_view v)
{
    return QByteArray(v.data(), qsizetype(v.size()));
}

inline QByteArray Wide(QStringView text, int width, bool bigEndian)
{
    QByteArray bytes;
    const QList<uint> units = width == 4 ? text.toUcs4() : QList<uint>(text.utf16(), text.utf16() + text.size());
    for (const uint unit : units)
        for (int i = 0; i < width; ++i)
            bytes += char(unit >> (8 * (bigEndian ? width - 1 - i : i)));
    return bytes;
}
