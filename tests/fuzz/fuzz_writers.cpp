// Fuzzes the normal and unified writers on random file pairs: each output,
// applied exactly to File One (hunks where their numbers say, context and
// removed lines checked), gives File Two byte for byte. Unified output is
// tried with small context lengths and with lengths at the edges of what
// 64 bits hold. The other forms are written too, for the sanitizers.

#include "FuzzInput.h"
#include "engine/Emit.h"
#include "engine/LineDiff.h"
#include "engine/LineFile.h"
#include "engine/ResultChecker.h"

#include <string_view>

namespace {

// What a writer produced, gathered in memory.
template <class Write>
QByteArray Written(Write write)
{
    QByteArray bytes;
    OutputSink out([&bytes](std::string_view piece) {
        bytes.append(piece.data(), qsizetype(piece.size()));
        return true;
    });
    write(out);
    Check(out.Finish());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const QByteArray one = input.Bytes(255);
    const QByteArray two = input.Rest();
    const auto a = LineFile::FromBytes(one.toStdString());
    const auto b = LineFile::FromBytes(two.toStdString());
    LineDiff::Settings settings;
    settings.minimal = flags & 1;
    constexpr std::int64_t kMax = INT64_MAX;
    constexpr std::int64_t kHuge[8] = {kMax, kMax - 1, kMax / 2, kMax / 2 + 1, kMax / 2 - 1, INT32_MAX, 255, 256};
    const std::int64_t context = flags & 0x20 ? kHuge[flags >> 1 & 7] : flags >> 1 & 7;
    settings.horizon = flags & 0x10 ? context : 0;
    const std::vector<LineDiff::Hunk> hunks = LineDiff::FindHunks(*a, *b, settings);
    Check(hunks.empty() == (one == two));

    const QByteArray normal = Written([&](OutputSink& out) { Emit::WriteNormal(out, *a, *b, hunks); });
    QByteArray applied;
    Check(ResultChecker::ApplyNormal(one, normal, applied).isEmpty() && applied == two);
    if (hunks.empty())
        return 0;
    const QByteArray unified =
        Written([&](OutputSink& out) { Emit::WriteUnified(out, *a, *b, hunks, context, "one", "two"); });
    Check(ResultChecker::ApplyUnified(one, unified, applied).isEmpty() && applied == two);

    // The other forms, for what the sanitizers see: narrow to wide columns,
    // small tab sizes, every layout switch.
    const bool tabs = flags & 0x40, compact = flags & 0x80;
    const Emit::Layout layout{
        .expandTabs = tabs, .initialTab = tabs, .tabSize = (flags & 7) + 1, .suppressBlankEmpty = compact};
    const Emit::SideBySide side{
        .width = (flags >> 1 & 7) * 19 + 1, .leftColumn = compact, .suppressCommon = (flags & 0x20) != 0};
    const Emit::Pair pair{*a, *b, hunks};
    const Emit::ContextForm form{.lines = context, .layout = layout};
    const QByteArray others = Written([&](OutputSink& out) {
        Emit::WriteContext(out, pair, form);
        Emit::WriteEd(out, pair);
        Emit::WriteRcs(out, pair);
        Emit::WriteIfdef(out, pair, "NAME");
        Emit::WriteSideBySide(out, pair, side, layout);
        Emit::WriteNormal(out, pair, layout);
    });
    Check(!others.isEmpty());
    return 0;
}
