// Fuzzes the line reader with its encoding and line-ending facts. The first
// byte picks the case: the rest read as it is (decoding UTF-16 and UTF-32 or
// not), or made into a valid UTF-16 or UTF-32 file with a byte-order mark
// from code points taken three bytes at a time. Checks, with Qt's codecs as
// the independent reading: the lines put back together give the text; the
// facts agree with a plain count over that text; a decoded file is exactly
// the UTF-8 of what it encodes, so encoding it again gives its bytes; a
// file not decoded is its bytes unchanged.

#include "FuzzInput.h"
#include "engine/LineFile.h"
#include "support/TextBytes.h"

#include <QByteArray>
#include <QString>

namespace {

// Valid UTF-8 text written in a wide encoding.
QByteArray Encode(const QString& text, TextEncoding e)
{
    return Wide(text, e == TextEncoding::Utf32LE || e == TextEncoding::Utf32BE ? 4 : 2,
                e == TextEncoding::Utf16BE || e == TextEncoding::Utf32BE);
}

// Reads the file and checks it; gives the file read.
std::shared_ptr<const LineFile> CheckRead(const QByteArray& raw, bool decode)
{
    const std::string_view bytes(raw.data(), static_cast<std::size_t>(raw.size()));
    const auto file = LineFile::FromBytes(bytes, {}, decode ? LineFile::Wide::Decode : LineFile::Wide::Keep);
    Check(FactsProblem(*file).isEmpty());
    const TextEncoding mark = WideText::EncodingOfMark(bytes);
    const TextFacts& f = file->Facts();
    // Only a file read as wide text can fail to decode; one not decoded keeps its bytes.
    const bool wide = decode && mark != TextEncoding::Utf8;
    Check(!f.undecodable || wide);
    Check(wide && !f.undecodable ? f.encoding == mark && Encode(FromUtf8(Bytes(file->Bytes())), mark) == raw
                                 : Bytes(file->Bytes()) == raw);
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    if (mode < 128) {
        CheckRead(input.Rest(), mode & 1);
        return 0;
    }
    // Code points from three bytes each, NUL and surrogates skipped, after
    // the mark: a valid wide file that must decode to their UTF-8.
    QString text(QChar(0xFEFF));
    while (!input.AtEnd()) {
        const char32_t c = ((char32_t{input.Byte()} << 16) | (char32_t{input.Byte()} << 8) | input.Byte()) % 0x110000;
        if (c == 0 || (c >= 0xD800 && c <= 0xDFFF))
            continue;
        text += QString::fromUcs4(&c, 1);
    }
    const TextEncoding encodings[] = {TextEncoding::Utf16LE, TextEncoding::Utf16BE, TextEncoding::Utf32LE,
                                      TextEncoding::Utf32BE};
    const TextEncoding encoding = encodings[mode & 3];
    const auto file = CheckRead(Encode(text, encoding), true);
    Check(file->Facts().encoding == encoding && Bytes(file->Bytes()) == text.toUtf8());
    return 0;
}
