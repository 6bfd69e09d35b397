#include "compare/FileFactsText.h"

#include "engine/FileText.h"

#include <QLocale>
#include <QStringList>

#include <functional>

namespace FileFactsText {
namespace {

// "a", "a and b", "a, b and c".
QString JoinedWithAnd(const QStringList& parts)
{
    if (parts.size() < 2)
        return parts.join(QString());
    return parts.first(parts.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + parts.last();
}

bool IsUtf8Family(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom;
}

QString DescribeEndings(const TextFacts& facts)
{
    if (facts.Endings() == 0)
        return QStringLiteral("has no line endings");
    if (facts.MixedEndings())
        return QStringLiteral("uses mixed line endings (%1)")
            .arg(QString::fromStdString(FileText::EndingCounts(facts)));
    return QStringLiteral("uses ") + EndingsName(facts);
}

QString DescribeFinalNewline(const TextFacts& facts)
{
    return facts.finalNewline ? QStringLiteral("ends with a newline") : QStringLiteral("has no newline at the end");
}

QString DescribeMark(const TextFacts& facts)
{
    return facts.byteOrderMark ? QStringLiteral("starts with a byte-order mark")
                               : QStringLiteral("has no byte-order mark");
}

QString DescribeEncoding(const TextFacts& facts)
{
    return QStringLiteral("is ") + EncodingName(facts.encoding);
}

}  // namespace

QString EncodingName(TextEncoding encoding)
{
    return QString::fromLatin1(FileText::EncodingName(encoding));
}

QString EndingsName(const TextFacts& facts)
{
    return QString::fromStdString(FileText::EndingsName(facts));
}

QString Summary(const LineFile& file)
{
    return QString::fromStdString(FileText::Summary(file));
}

QString EndingsOnlyMessage(const LineFile& one, const LineFile& two)
{
    const TextFacts& a = one.Facts();
    const TextFacts& b = two.Facts();
    using Describe = std::function<QString(const TextFacts&)>;
    QStringList kinds;
    std::vector<Describe> describers;
    const auto add = [&](const QString& kind, Describe describe) {
        kinds << kind;
        describers.push_back(std::move(describe));
    };
    const bool endingsDiffer = EndingsName(a) != EndingsName(b);
    const bool finalDiffers = a.finalNewline != b.finalNewline;
    // UTF-8 with and without its mark is one encoding that differs in the mark.
    const bool encodingDiffers = a.encoding != b.encoding && !(IsUtf8Family(a.encoding) && IsUtf8Family(b.encoding));
    const bool markDiffers = !encodingDiffers && a.byteOrderMark != b.byteOrderMark;
    // Endings of the same kinds and counts may still stand at other lines.
    if (endingsDiffer || !(finalDiffers || encodingDiffers || markDiffers))
        add(QStringLiteral("their line endings"), DescribeEndings);
    if (finalDiffers)
        add(QStringLiteral("the newline at the end"), DescribeFinalNewline);
    if (encodingDiffers)
        add(QStringLiteral("their encodings"), DescribeEncoding);
    if (markDiffers)
        add(QStringLiteral("their byte-order marks"), DescribeMark);
    QStringList styleOne;
    QStringList styleTwo;
    for (const Describe& describe : describers) {
        styleOne << describe(a);
        styleTwo << describe(b);
    }
    return QStringLiteral("The files differ only in %1: File One %2, File Two %3.")
        .arg(JoinedWithAnd(kinds), JoinedWithAnd(styleOne), JoinedWithAnd(styleTwo));
}

QString OutOfMemoryMessage(const LineFile& one, const LineFile& two, std::int64_t rows)
{
    const QLocale c = QLocale::c();
    const auto size = [&c](std::uint64_t bytes) {
        return c.formattedDataSize(static_cast<qint64>(bytes), 1, QLocale::DataSizeTraditionalFormat);
    };
    // A row is a line index and a colour in each pane.
    const std::uint64_t rowBytes =
        static_cast<std::uint64_t>(rows) * 2 * (sizeof(std::int32_t) + sizeof(std::uint32_t));
    return QStringLiteral(
               "Not enough memory to show the differences.\r\n\r\nThe files (%1 and %2) make %3 rows side by "
               "side, which need %4 more.")
        .arg(size(one.Bytes().size()), size(two.Bytes().size()), QString::number(rows), size(rowBytes));
}

}  // namespace FileFactsText
