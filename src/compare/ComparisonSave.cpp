#include "compare/ComparisonSave.h"

#include "compare/ComparisonModel.h"
#include "compare/HtmlReport.h"
#include "engine/LineFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace ComparisonSave {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Two names for one file: the same file on the same device when both
// exist (links included), the same absolute clean path otherwise. Names
// are bytes, so a name that is not UTF-8 is matched exactly.
bool SameFile(const QByteArray& one, const std::string& two)
{
    struct stat a {};
    struct stat b {};
    if (::stat(one.constData(), &a) == 0 && ::stat(two.c_str(), &b) == 0)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    const auto clean = [](const QByteArray& name) {
        return QDir::cleanPath(QFileInfo(QString::fromLatin1(name)).absoluteFilePath());
    };
    return clean(one) == clean(QByteArray::fromStdString(two));
}

QString SystemReason(int code, const QFileDevice& file)
{
    return code ? QString::fromLocal8Bit(std::strerror(code)) : file.errorString();
}

}  // namespace

QString Refusal(const QString& path, const std::vector<std::string>& compared)
{
    const QByteArray name = QFile::encodeName(path);
    for (const std::string& other : compared)
        if (!other.empty() && SameFile(name, other))
            return QStringLiteral("The file would replace a file being compared:") + kCrLf + path;
    return QString();
}

QString Save(const QString& path, const std::vector<std::string>& compared,
             const std::function<void(OutputSink&)>& write)
{
    QString refused = Refusal(path, compared);
    if (!refused.isEmpty())
        return refused;
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        return QStringLiteral("The folder does not exist:") + kCrLf + target.absolutePath();
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("The file could not be written:") + kCrLf + path + kCrLf + SystemReason(errno, file);
    int failure = 0;
    OutputSink sink([&file, &failure](std::string_view piece) {
        errno = 0;
        const auto size = static_cast<qint64>(piece.size());
        if (file.write(piece.data(), size) == size)
            return true;
        failure = failure ? failure : errno;
        return false;
    });
    write(sink);
    errno = 0;
    // The explicit flush: commit() takes the name even when the last
    // buffered bytes could not be written (a full disk).
    if (sink.Finish() && file.flush() && file.commit())
        return QString();
    failure = failure ? failure : errno;
    file.cancelWriting();
    return QStringLiteral("The file could not be written:") + kCrLf + path + kCrLf + SystemReason(failure, file);
}

QString PatchRefusal(const ComparisonModel& model, bool binary)
{
    if (model.Shown())
        return QString();
    if (binary)
        return QStringLiteral("The files are binary: there is no patch of their lines.");
    return QStringLiteral("No comparison is shown: compare two files first.");
}

namespace {

std::vector<std::string> ComparedPaths(const ComparisonModel& model)
{
    return {model.File(0)->Path(), model.File(1)->Path()};
}

}  // namespace

QString SaveReport(const ComparisonModel& model, const QString& path, bool ignoreCase, const QString& ignored)
{
    QString refused = PatchRefusal(model, false);
    if (!refused.isEmpty())
        return refused;
    const HtmlReport report(model, ignoreCase, ignored);
    return Save(path, ComparedPaths(model), [&report](OutputSink& out) { report.Write(out); });
}

QString SavePatch(const ComparisonModel& model, const QString& path)
{
    QString refused = PatchRefusal(model, false);
    if (!refused.isEmpty())
        return refused;
    const LineFile& one = *model.File(0);
    const LineFile& two = *model.File(1);
    return Save(path, ComparedPaths(model),
                [&](OutputSink& out) { Emit::WriteUnified(out, one, two, model.Hunks(), 3, one.Path(), two.Path()); });
}

}  // namespace ComparisonSave
