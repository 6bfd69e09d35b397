// Fuzzes the Windows-style command-line splitter. Two names, each quoted
// when it holds a blank, come back as written whatever surrounds them; any
// other text splits without a crash into at most two names that it holds.

#include "FuzzInput.h"
#include "app/CommandLine.h"
#include "app/PathMix.h"

namespace {

// A name without quotes and without blanks at its ends; never empty. No
// command line can hold a NUL, and the path library takes C strings.
QString Name(const QByteArray& raw)
{
    QString name = QString::fromUtf8(raw).remove(QLatin1Char('"')).remove(QChar(0)).trimmed();
    return name.isEmpty() ? QStringLiteral("x") : name;
}

QString Quoted(const QString& name, bool always)
{
    return always || name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The splitter uses the path library, which lives beside the program.
    const QString folder = QString::fromLocal8Bit((*argv)[0]).section(QLatin1Char('/'), 0, -2) + QLatin1Char('/');
    Check(*argc >= 1 && PathMix::Load(folder));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t shape = input.Byte();
    const QString one = Name(input.Bytes(20));
    const QString two = Name(input.Bytes(20));
    const QString gap(1 + shape % 3, QLatin1Char(' '));
    const QString text = QString(shape / 3 % 3, QLatin1Char(' ')) + Quoted(one, shape & 0x40) + gap
                         + Quoted(two, shape & 0x80) + gap + QString::fromUtf8(input.Bytes(8));
    QString fileOne, fileTwo;
    modVantrel::GetFilesFromCommandLine(text, fileOne, fileTwo);
    Check(fileOne == one && fileTwo == two);

    const QString raw = QString::fromUtf8(input.Rest());
    modVantrel::GetFilesFromCommandLine(raw, fileOne, fileTwo);
    Check(raw.contains(fileOne) && raw.contains(fileTwo));
    return 0;
}
