#pragma once
// The one way a line's bytes become text for display, shared by the engine
// (result lines) and the result grids (row texts), so both always show the
// same characters for the same bytes. Decoding never changes what the engine
// compares: comparison works on the bytes.

#include <QByteArrayView>
#include <QString>

namespace TextDecoding {

// UTF-8 when the bytes are well-formed UTF-8, otherwise Windows-1252, where
// the five bytes that code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the control characters of the same value, as in Latin-1.
// Every byte string therefore decodes to a distinct text, and no byte is
// dropped or turned into a replacement mark.
[[nodiscard]] QString DecodeLine(QByteArrayView bytes);

// The Windows-1252 reading alone, one character per byte.
[[nodiscard]] QString DecodeWindows1252(QByteArrayView bytes);

}  // namespace TextDecoding
