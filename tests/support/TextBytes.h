#pragma once
// Bytes of texts for the line-reader tests: a view's bytes, and a text's
// code units in UTF-16 or UTF-32, most significant byte first or last
// (from a view: building a QString would drop a leading U+FEFF); and what a
// read file gets wrong against its text counted afresh.

#include "engine/LineFile.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>
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

// Qt's UTF-8 reading, a leading U+FEFF kept (QString::fromUtf8 drops it);
// stateless, so that a sequence cut short at the end is an error.
inline QString FromUtf8(const QByteArray& bytes, bool* valid = nullptr)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (valid)
        *valid = !decoder.hasError();
    return text;
}

// The first of the file's lines and facts that its text, counted afresh
// (and read by Qt for whether it is UTF-8), contradicts; empty when none.
// A UTF-16 or UTF-32 encoding is left to the caller.
inline QString FactsProblem(const LineFile& file)
{
    const QByteArray text = Bytes(file.Bytes());
    QByteArray joined;
    for (std::int64_t i = 0; i < file.LineCount(); ++i)
        joined += Bytes(file.RawLine(i)) + (file.LineLacksNewline(i) ? "" : "\n");
    const TextFacts& f = file.Facts();
    const qsizetype crlf = text.count("\r\n");
    const bool mark = text.startsWith("\xef\xbb\xbf");
    bool utf8 = false;
    (void)FromUtf8(text, &utf8);
    const TextEncoding narrow = !utf8 ? TextEncoding::Windows1252 : mark ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
    const bool wide = f.encoding != TextEncoding::Utf8 && f.encoding != TextEncoding::Utf8Bom
                      && f.encoding != TextEncoding::Windows1252;
    return joined != text                                                    ? QStringLiteral("lines")
           : f.lfEndings != text.count('\n') - crlf || f.crlfEndings != crlf ? QStringLiteral("LF endings")
           : f.crEndings != text.count('\r') - crlf                          ? QStringLiteral("CR endings")
           : f.finalNewline != (text.endsWith('\n') || (text.endsWith('\r') && !text.contains('\n')))
               ? QStringLiteral("final newline")
           : f.byteOrderMark != mark       ? QStringLiteral("byte-order mark")
           : !wide && f.encoding != narrow ? QStringLiteral("encoding")
                                           : QString();
}
