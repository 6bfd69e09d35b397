#include "app/PathMix.h"

#include "app/VantrelError.h"
#include "engine/FileNameText.h"

#include <QLibrary>

#include <cerrno>
#include <memory>

namespace PathMix {
namespace {

using FileExistsFn = short (*)(const char*);
using Unary = char* (*)(const char*);
using Binary = char* (*)(const char*, const char*);
using Ternary = char* (*)(const char*, const char*, const char*);
using SlashPosFn = short (*)(const char*, short);
using StripNullFn = char* (*)(const char*, int);
using FreeFn = void (*)(char*);

struct Api {
    FileExistsFn fileExists = nullptr;
    Binary remaining = nullptr;
    Ternary replace = nullptr;
    Unary normalize = nullptr;
    Unary lastItem = nullptr;
    SlashPosFn nextSlash = nullptr;
    StripNullFn stripNull = nullptr;
    FreeFn freeString = nullptr;
};

std::unique_ptr<QLibrary> gLibrary;
Api gApi;

const Api& Checked()
{
    if (!gApi.freeString)
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::DllLoad,
                                       QStringLiteral("Error loading DLL - ") + LibraryFileName());
    return gApi;
}

// Takes ownership of a string returned by the library.
QString Adopt(char* text)
{
    modVantrel::SetLastDllError(text ? 0 : ENOMEM);
    if (!text)
        throw modVantrel::VantrelError(modVantrel::ErrorNumber::OutOfMemory, QStringLiteral("Out of memory"), ENOMEM);
    QString result = QString::fromUtf8(text);
    gApi.freeString(text);
    return result;
}

template <typename Fn>
bool Resolve(Fn& target, const char* name)
{
    target = reinterpret_cast<Fn>(gLibrary->resolve(name));
    return target != nullptr;
}

}  // namespace

QString LibraryFileName()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("pathmix.dll");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("libpathmix.dylib");
#else
    return QStringLiteral("libpathmix.so");
#endif
}

bool Load(const QString& folder)
{
    if (IsLoaded())
        return true;
    gLibrary = std::make_unique<QLibrary>(folder + LibraryFileName());
    Api api;
    gApi = Api{};
    const bool ok = gLibrary->load() && Resolve(api.fileExists, "APIFileExists")
                    && Resolve(api.remaining, "RemainingString") && Resolve(api.replace, "ReplaceString")
                    && Resolve(api.normalize, "NormalizePath") && Resolve(api.lastItem, "GetLastItemInPath")
                    && Resolve(api.nextSlash, "GetNextSlashPos") && Resolve(api.stripNull, "StripNull")
                    && Resolve(api.freeString, "PathMixFreeString");
    modVantrel::SetLastDllError(ok ? 0 : ENOENT);
    if (!ok) {
        gLibrary->unload();
        gLibrary.reset();
        return false;
    }
    gApi = api;
    return true;
}

bool IsLoaded()
{
    return gLibrary && gLibrary->isLoaded() && gApi.freeString;
}

void Unload()
{
    gApi = Api{};
    if (!gLibrary)
        return;
    while (gLibrary->isLoaded() && gLibrary->unload()) {
    }
    gLibrary.reset();
}

short APIFileExists(const QString& path)
{
    const short result = Checked().fileExists(FileNameText::ToBytes(path).constData());
    modVantrel::SetLastDllError(0);
    return result;
}

QString RemainingString(const QString& text, const QString& leading)
{
    return Adopt(Checked().remaining(text.toUtf8().constData(), leading.toUtf8().constData()));
}

QString ReplaceString(const QString& text, const QString& find, const QString& replacement)
{
    return Adopt(
        Checked().replace(text.toUtf8().constData(), find.toUtf8().constData(), replacement.toUtf8().constData()));
}

QString NormalizePath(const QString& path)
{
    return Adopt(Checked().normalize(path.toUtf8().constData()));
}

QString GetLastItemInPath(const QString& path)
{
    return Adopt(Checked().lastItem(path.toUtf8().constData()));
}

short GetNextSlashPos(const QString& path, short start)
{
    // The library counts bytes of the UTF-8 form; callers count characters.
    const QByteArray bytes = path.toUtf8();
    const qsizetype from = start < 1 ? 0 : path.left(start - 1).toUtf8().size();
    const short found = Checked().nextSlash(bytes.constData(), static_cast<short>(qMin<qsizetype>(from + 1, 32767)));
    modVantrel::SetLastDllError(0);
    if (found <= 0)
        return 0;
    return static_cast<short>(QString::fromUtf8(bytes.left(found - 1)).size() + 1);
}

QString StripNull(const QByteArray& buffer)
{
    return Adopt(Checked().stripNull(buffer.constData(), static_cast<int>(buffer.size())));
}

}  // namespace PathMix
