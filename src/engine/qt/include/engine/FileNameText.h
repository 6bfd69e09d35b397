#pragma once
// File names as the window shows, keeps and stores them. A name on this
// system is a string of bytes that need not be valid UTF-8; a QString of Qt's
// own decoding would turn such bytes into replacement marks and could no
// longer open the file. The text form here keeps every byte: what is valid
// UTF-8 reads as itself, any other byte shows as \xHH (so the user sees it),
// and the bytes come back exactly from the text.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace FileNameText {

// The text of a name: valid UTF-8 decoded; each byte outside a valid
// sequence written as \xHH (two upper-case hex digits); a backslash that
// would otherwise read as the start of such an escape, or of "\\", is
// written as "\\". Names of valid UTF-8 without backslashes are unchanged.
[[nodiscard]] QString FromBytes(QByteArrayView bytes);

// The bytes a text names: \xHH (either case of hex digit) is byte HH, "\\"
// is one backslash, and every other character its UTF-8 bytes, a backslash
// included. ToBytes(FromBytes(b)) == b for every byte string b.
[[nodiscard]] QByteArray ToBytes(QStringView text);

}  // namespace FileNameText
