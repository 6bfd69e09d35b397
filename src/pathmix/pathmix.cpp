#include "pathmix/pathmix.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// Returns a malloc'ed copy so that the caller can free it through
// PathMixFreeString whatever C++ runtime it was built with.
char* Duplicate(std::string_view text)
{
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!copy)
        return nullptr;
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

std::string_view View(const char* text)
{
    return text ? std::string_view(text) : std::string_view();
}

}  // namespace

extern "C" {

short APIFileExists(const char* path)
{
    if (!path || !*path)
        return 0;
    struct stat info {};
    if (stat(path, &info) != 0)
        return 0;
    return S_ISREG(info.st_mode) ? 1 : 0;
}

char* RemainingString(const char* text, const char* leading)
{
    const std::string_view whole = View(text);
    const std::string_view head = View(leading);
    if (whole.substr(0, head.size()) == head)
        return Duplicate(whole.substr(head.size()));
    return Duplicate(whole);
}

char* ReplaceString(const char* text, const char* find, const char* replacement)
{
    const std::string_view whole = View(text);
    const std::string_view needle = View(find);
    const std::string_view with = View(replacement);
    if (needle.empty())
        return Duplicate(whole);
    std::string out;
    out.reserve(whole.size());
    std::size_t from = 0;
    for (std::size_t at = whole.find(needle); at != std::string_view::npos; at = whole.find(needle, from)) {
        out.append(whole.substr(from, at - from));
        out.append(with);
        from = at + needle.size();
    }
    out.append(whole.substr(from));
    return Duplicate(out);
}

char* NormalizePath(const char* path)
{
    std::string out(View(path));
    if (out.empty() || out.back() != kSeparator)
        out.push_back(kSeparator);
    return Duplicate(out);
}

char* GetLastItemInPath(const char* path)
{
    const std::string_view whole = View(path);
    const std::size_t last = whole.rfind(kSeparator);
    if (last == std::string_view::npos)
        return Duplicate(whole);
    return Duplicate(whole.substr(last + 1));
}

short GetNextSlashPos(const char* path, short start)
{
    const std::string_view whole = View(path);
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    const std::size_t at = whole.find(kSeparator, from);
    if (at == std::string_view::npos || at >= 32767)
        return 0;
    return static_cast<short>(at + 1);
}

char* StripNull(const char* buffer, int length)
{
    if (!buffer || length <= 0)
        return Duplicate({});
    const auto size = static_cast<std::size_t>(length);
    const void* nul = std::memchr(buffer, '\0', size);
    const std::size_t used = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : size;
    return Duplicate(std::string_view(buffer, used));
}

void PathMixFreeString(char* text)
{
    std::free(text);
}

}  // extern "C"
