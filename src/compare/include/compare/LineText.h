#pragma once
// The characters of one line as the detail pane shows and compares them
// (TABs widened to three spaces), held compactly. A line in which every
// byte is one character and which holds no TAB (plain ASCII, or a line read
// as Windows-1252) stays a view of the bytes already read, shared with
// their owner; any other line is decoded into UTF-16 text. So a pane that
// shows two 50 MB lines of ASCII holds nothing beyond the files.

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <memory>

class LineText {
public:
    LineText() = default;
    explicit LineText(QString text) : m_text(std::move(text)) {}
    // The line `bytes` (decoded as the grids decode it); `owner` keeps the
    // bytes alive as long as a view of them is kept.
    [[nodiscard]] static LineText FromBytes(QByteArrayView bytes, std::shared_ptr<const void> owner);

    [[nodiscard]] qsizetype size() const { return m_owner ? m_bytes.size() : m_text.size(); }
    [[nodiscard]] bool isEmpty() const { return size() == 0; }
    [[nodiscard]] QChar at(qsizetype i) const
    {
        return m_owner ? QChar(ByteChar(static_cast<unsigned char>(m_bytes[i]))) : m_text.at(i);
    }
    // Characters [from, from + length), clamped to the text.
    [[nodiscard]] QString mid(qsizetype from, qsizetype length) const;
    [[nodiscard]] QString toString() const { return mid(0, size()); }

    // True when each character is one byte of bytes(), standing for
    // ByteChar of that byte.
    [[nodiscard]] bool isBytes() const { return m_owner != nullptr; }
    [[nodiscard]] QByteArrayView bytes() const { return m_bytes; }
    [[nodiscard]] const QString& text() const { return m_text; }

    // The character a byte stands for in such a line: Windows-1252, which
    // reads ASCII as itself.
    [[nodiscard]] static char16_t ByteChar(unsigned char byte);

private:
    QString m_text;
    std::shared_ptr<const void> m_owner;
    QByteArrayView m_bytes;
};
