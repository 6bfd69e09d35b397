#include "engine/OpenedFile.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <vector>

OpenedFile::OpenedFile(const QString& path) : m_path(path), m_file(path)
{
    // Opening a folder succeeds on some systems and fails with a Qt text on
    // others; answer it the same way everywhere, with the system's words.
    if (QFileInfo(path).isDir()) {
        Fail("open", QString::fromLocal8Bit(std::strerror(EISDIR)));
        return;
    }
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        Fail("open", m_file.errorString());
        return;
    }
    m_reportedSize = m_file.isSequential() ? -1 : m_file.size();
    m_firstBlock.resize(kFirstBlockSize);
    qsizetype filled = 0;
    // A pipe may deliver the block in pieces; keep reading until it is
    // full or the input ends.
    while (filled < kFirstBlockSize) {
        const qint64 got = ReadMore(m_firstBlock.data() + filled, kFirstBlockSize - filled);
        if (got < 0) {
            m_firstBlock.clear();
            return;
        }
        if (got == 0)
            break;
        filled += got;
    }
    m_firstBlock.resize(filled);
}

bool OpenedFile::LooksBinary() const
{
    return std::memchr(m_firstBlock.constData(), 0, static_cast<size_t>(m_firstBlock.size())) != nullptr;
}

qint64 OpenedFile::ReadMore(char* into, qint64 capacity)
{
    if (!Ok())
        return -1;
    const qint64 got = m_file.read(into, capacity);
    if (got < 0)
        Fail("read", m_file.errorString());
    return got;
}

void OpenedFile::Fail(const char* what, const QString& reason)
{
    m_error = QStringLiteral("Cannot %1 \"%2\": %3").arg(QLatin1String(what), m_path, reason);
}

bool SameBytes(OpenedFile& one, OpenedFile& two, QString& error)
{
    if (one.ReportedSize() >= 0 && two.ReportedSize() >= 0 && one.ReportedSize() != two.ReportedSize())
        return false;
    if (one.FirstBlock() != two.FirstBlock())
        return false;
    constexpr qint64 kChunk = 256 * 1024;
    std::vector<char> bufOne(kChunk);
    std::vector<char> bufTwo(kChunk);
    for (;;) {
        // Fill both chunks completely (or to the end) so that short reads
        // from pipes do not misalign the comparison.
        qint64 got[2] = {0, 0};
        OpenedFile* files[2] = {&one, &two};
        char* bufs[2] = {bufOne.data(), bufTwo.data()};
        for (int side = 0; side < 2; ++side) {
            for (;;) {
                const qint64 n = files[side]->ReadMore(bufs[side] + got[side], kChunk - got[side]);
                if (n < 0) {
                    error = files[side]->Error();
                    return false;
                }
                if (n == 0 || (got[side] += n) == kChunk)
                    break;
            }
        }
        if (got[0] != got[1] || std::memcmp(bufs[0], bufs[1], static_cast<size_t>(got[0])) != 0)
            return false;
        if (got[0] == 0)
            return true;
    }
}
