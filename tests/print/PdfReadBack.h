#pragma once
// Reads a written PDF back with poppler's tools, which know nothing of how
// it was written: the lines of every page with their face and place and
// the text's fonts (pdftohtml -xml), and the places of the words
// (pdftotext -bbox).

#include <QFile>
#include <QProcess>
#include <QSizeF>
#include <QStringList>
#include <QXmlStreamReader>

#include <algorithm>

namespace PdfReadBack {

struct Line {
    QString text;
    bool bold = false;
    bool italic = false;
    double top = 0;  // in the tool's units, from the top of the page
    double left = 0;
};

struct Page {
    double height = 0;
    double width = 0;
    QList<Line> lines;
};

inline QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The fonts, when asked for, are "family size" in the order of their first
// use, one for each face, the size in the tool's pixels at its zoom of 1.5.
inline QList<Page> Pages(const QString& pdf, QStringList* fonts = nullptr)
{
    QList<Page> pages;
    QXmlStreamReader xml(Run(QStringLiteral("pdftohtml"), {"-xml", "-i", "-stdout", "-q", pdf}));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes at = xml.attributes();
        if (xml.name() == u"fontspec" && fonts)
            *fonts << QStringLiteral("%1 %2").arg(at.value(QLatin1String("family")), at.value(QLatin1String("size")));
        if (xml.name() == u"page") {
            pages.append(
                {at.value(QLatin1String("height")).toDouble(), at.value(QLatin1String("width")).toDouble(), {}});
        } else if (xml.name() == u"text" && !pages.isEmpty()) {
            Line line{QString(), false, false, at.value(QLatin1String("top")).toDouble(),
                      at.value(QLatin1String("left")).toDouble()};
            while (!(xml.isEndElement() && xml.name() == u"text") && !xml.atEnd()) {
                xml.readNext();
                line.bold |= xml.isStartElement() && xml.name() == u"b";
                line.italic |= xml.isStartElement() && xml.name() == u"i";
                if (xml.isCharacters())
                    line.text += xml.text();
            }
            // A glyph from a fallback face splits a line into pieces.
            QList<Line>& lines = pages.last().lines;
            if (!lines.isEmpty() && qAbs(lines.last().top - line.top) < 5 && line.left > lines.last().left)
                lines.last().text += line.text;
            else
                lines.append(line);
        }
    }
    return pages;
}

// The words of every page, each with the place where it starts, in points
// to a millionth (pdftotext -bbox), where Pages() rounds to the tool's
// pixels; no faces.
inline QList<Page> Words(const QString& pdf)
{
    QList<Page> pages;
    QXmlStreamReader xml(Run(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"}));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes at = xml.attributes();
        if (xml.name() == u"page") {
            pages.append(
                {at.value(QLatin1String("height")).toDouble(), at.value(QLatin1String("width")).toDouble(), {}});
        } else if (xml.name() == u"word" && !pages.isEmpty()) {
            const double top = at.value(QLatin1String("yMin")).toDouble(),
                         left = at.value(QLatin1String("xMin")).toDouble();
            pages.last().lines.append({xml.readElementText(), false, false, top, left});
        }
    }
    return pages;
}

}  // namespace PdfReadBack
