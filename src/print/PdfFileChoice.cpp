#include "print/PdfFileChoice.h"

#include <QDir>
#include <QFileInfo>

namespace PdfFileChoice {
namespace {

// Two names for one file: the same canonical path when both exist, the same
// absolute clean path otherwise.
bool SameFile(const QString& one, const QString& two)
{
    const QFileInfo a(one);
    const QFileInfo b(two);
    if (a.exists() && b.exists())
        return a.canonicalFilePath() == b.canonicalFilePath();
    return QDir::cleanPath(a.absoluteFilePath()) == QDir::cleanPath(b.absoluteFilePath());
}

bool AnySame(const QString& path, const QStringList& others)
{
    return std::any_of(others.begin(), others.end(),
                       [&path](const QString& other) { return !other.trimmed().isEmpty() && SameFile(path, other); });
}

}  // namespace

QString SuggestedPath(const QString& panePath, const QString& homeFolder, const QStringList& taken)
{
    QString base = QFileInfo(panePath.trimmed()).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("Vantrel");
    const QDir home(homeFolder);
    QString path = home.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; AnySame(path, taken); ++n)
        path = home.filePath(base + QStringLiteral("-%1.pdf").arg(n));
    return path;
}

QString Refusal(const QString& pdfPath, const QStringList& comparedPaths, const QStringList& taken)
{
    if (AnySame(pdfPath, comparedPaths))
        return QStringLiteral("The PDF file would replace a file being compared:\r\n") + pdfPath;
    if (AnySame(pdfPath, taken))
        return QStringLiteral("Each pane needs a PDF file of its own:\r\n") + pdfPath;
    return QString();
}

}  // namespace PdfFileChoice
