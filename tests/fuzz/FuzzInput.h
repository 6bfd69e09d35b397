#pragma once
// Reads a fuzzer's bytes as a few small fields: numbers and length-prefixed
// byte strings, so that one input can carry several parts. Reading past the
// end gives zeros and empty strings.

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Ends the run, for the fuzzer to keep the input, when a property fails.
inline void Check(bool holds)
{
    if (!holds)
        std::abort();
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    [[nodiscard]] std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // A string of up to `maxLength` bytes whose length is given by the next byte.
    [[nodiscard]] QByteArray Bytes(std::size_t maxLength)
    {
        // Two statements: the length byte must be taken before what is left is counted.
        const std::size_t length = Byte() % (maxLength + 1);
        return Take(std::min(length, m_size - m_pos));
    }
    [[nodiscard]] QByteArray Rest() { return Take(m_size - m_pos); }
    [[nodiscard]] bool AtEnd() const { return m_pos >= m_size; }

private:
    QByteArray Take(std::size_t length)
    {
        const QByteArray out(reinterpret_cast<const char*>(m_data + m_pos), static_cast<qsizetype>(length));
        m_pos += length;
        return out;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};
