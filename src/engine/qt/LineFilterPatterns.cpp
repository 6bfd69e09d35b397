#include "engine/LineFilterPatterns.h"

#include "engine/FileNameText.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <new>
#include <string_view>

namespace {

QString LibraryMessage(int code)
{
    PCRE2_UCHAR text[256];
    return pcre2_get_error_message(code, text, sizeof text) < 0
               ? QStringLiteral("error %1").arg(code)
               : QString::fromUtf8(reinterpret_cast<const char*>(text));
}

// The largest stack the compiled matcher may take on a long line.
constexpr std::size_t kJitStackLimit = 4 * 1024 * 1024;

}  // namespace

struct LineFilterPatterns::Compiled {
    QString pattern;
    pcre2_code* code = nullptr;
    bool jit = false;  // compiled to machine code
    Compiled() = default;
    Compiled(const Compiled&) = delete;
    Compiled& operator=(const Compiled&) = delete;
    ~Compiled() { pcre2_code_free(code); }

    // Empty on success, else why the pattern does not compile and where.
    QString Compile(const QString& text)
    {
        pattern = text;
        const QByteArray bytes = text.toUtf8();
        int error = 0;
        PCRE2_SIZE offset = 0;
        // As QRegularExpression compiles by default; bytes that are not
        // UTF-8 in a line then simply fail to match.
        code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(bytes.constData()), static_cast<PCRE2_SIZE>(bytes.size()),
                             PCRE2_UTF | PCRE2_MATCH_INVALID_UTF, &error, &offset, nullptr);
        if (!code) {
            const qsizetype at = QString::fromUtf8(bytes.left(static_cast<qsizetype>(offset))).size() + 1;
            return QStringLiteral("%1 (at character %2)").arg(LibraryMessage(error)).arg(at);
        }
        // Without the compiled form (a system without it) it still matches,
        // only slower.
        jit = pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0;
        return {};
    }
};

namespace {

// Match data and stack for one run over lines.
class Matcher {
public:
    Matcher()
        : m_data(pcre2_match_data_create(1, nullptr)), m_context(pcre2_match_context_create(nullptr)),
          m_stack(pcre2_jit_stack_create(32 * 1024, kJitStackLimit, nullptr))
    {
        if (!m_data || !m_context || !m_stack)
            throw std::bad_alloc();
        pcre2_jit_stack_assign(m_context, nullptr, m_stack);
    }
    ~Matcher()
    {
        pcre2_jit_stack_free(m_stack);
        pcre2_match_context_free(m_context);
        pcre2_match_data_free(m_data);
    }
    Matcher(const Matcher&) = delete;
    Matcher& operator=(const Matcher&) = delete;

    // The library's result: >= 0 a match, PCRE2_ERROR_NOMATCH none, any
    // other value a failure.
    int Match(const pcre2_code* code, bool jit, std::string_view line)
    {
        const auto* text = reinterpret_cast<PCRE2_SPTR>(line.data() ? line.data() : "");
        // The compiled form's own entry skips the checks of the general one,
        // which add a third to a short line's match.
        return jit ? pcre2_jit_match(code, text, line.size(), 0, 0, m_data, m_context)
                   : pcre2_match(code, text, line.size(), 0, 0, m_data, m_context);
    }

private:
    pcre2_match_data* m_data;
    pcre2_match_context* m_context;
    pcre2_jit_stack* m_stack;
};

}  // namespace

LineFilterPatterns::~LineFilterPatterns() = default;

std::shared_ptr<const LineFilterPatterns> LineFilterPatterns::Compile(const QStringList& patterns, QString& error)
{
    std::shared_ptr<LineFilterPatterns> filters(new LineFilterPatterns);
    for (const QString& pattern : patterns) {
        auto compiled = std::make_unique<Compiled>();
        const QString why = compiled->Compile(pattern);
        if (!why.isEmpty()) {
            error = QStringLiteral("The line filter \"%1\" is not a valid regular expression: %2.").arg(pattern, why);
            return nullptr;
        }
        filters->m_compiled.push_back(std::move(compiled));
    }
    return filters;
}

bool LineFilterPatterns::Flag(const LineFile& file, LineMask& mask, std::string& trouble) const
{
    const std::int64_t count = file.LineCount();
    mask.assign(static_cast<std::size_t>(count), 0);
    Matcher matcher;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::string_view line = file.Line(i);
        for (const std::unique_ptr<Compiled>& c : m_compiled) {
            const int result = matcher.Match(c->code, c->jit, line);
            if (result == PCRE2_ERROR_NOMATCH)
                continue;
            if (result < 0) {
                trouble = QStringLiteral("The line filter \"%1\" could not be tried on line %2 of \"%3\": %4. "
                                         "Nothing was compared; change or turn off the filter.")
                              .arg(c->pattern)
                              .arg(i + 1)
                              .arg(FileNameText::FromBytes(file.Path()), LibraryMessage(result))
                              .toStdString();
                return false;
            }
            mask[static_cast<std::size_t>(i)] = 1;
            break;
        }
    }
    return true;
}

QString LineFilterPatterns::Problem(const QString& pattern, bool& usable)
{
    usable = false;
    if (pattern.isEmpty())
        return QStringLiteral("Type a regular expression.");
    Compiled compiled;
    const QString why = compiled.Compile(pattern);
    if (!why.isEmpty())
        return QStringLiteral("Not a valid regular expression: %1.").arg(why);
    usable = true;
    // A pattern that matches the empty text and lines of every kind (say
    // "x*") matches every line; one that only matches empty lines ("^$")
    // is a fine way to leave blank lines out.
    Matcher matcher;
    for (const char* probe : {"", "x", "0 #\t\xc3\xa4)"}) {
        if (matcher.Match(compiled.code, compiled.jit, probe) < 0)
            return {};
    }
    return QStringLiteral("This expression matches the empty text, so every line matches it: "
                          "no line would be compared.");
}
