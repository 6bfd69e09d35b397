#include "engine/Comparison.h"

#include <algorithm>
#include <future>
#include <new>
#include <stdexcept>

namespace {

Comparison Failed(Trouble trouble, FileError error = {})
{
    Comparison c;
    c.outcome = Outcome::Failed;
    c.trouble = trouble;
    c.fileError = std::move(error);
    return c;
}

// True when the first block holds the whole file.
bool ReadWhole(const InputFile& file)
{
    return file.ReportedSize() >= 0 && file.FirstBlock().size() == static_cast<std::size_t>(file.ReportedSize());
}

// The hunks of the files read into `c` without the lines `skipper` flags,
// in the lines of the whole files; false, with `c` failed, when a line
// could not be judged.
bool FindHunksSkipping(Comparison& c, const LineSkipper& skipper, const CompareSettings& settings)
{
    // Each file is judged and copied without its skipped lines on a thread
    // of its own: the two take most of the added time, and do not meet.
    struct Side {
        LineMask mask;
        std::string trouble;
        bool judged = false;
        std::vector<std::int64_t> kept;
        std::shared_ptr<const LineFile> reduced;
    };
    Side sides[2];
    const auto prepare = [&](int side) {
        Side& s = sides[side];
        s.judged = skipper.Flag(*c.files[side], s.mask, s.trouble);
        if (s.judged)
            s.reduced = WithoutSkipped(*c.files[side], s.mask, s.kept);
    };
    // (Small files are not worth a thread. Without one, or when none
    // starts, get() runs the second side here.)
    constexpr std::int64_t kThreadLines = 100000;
    const bool large = c.files[0]->LineCount() + c.files[1]->LineCount() >= kThreadLines;
    std::future<void> two =
        std::async(large ? std::launch::async | std::launch::deferred : std::launch::deferred, prepare, 1);
    prepare(0);
    two.get();  // (rethrows what the thread threw, std::bad_alloc say)
    for (Side& s : sides) {
        if (!s.judged) {
            c = Failed(Trouble::Skipping);
            c.skipTrouble = std::move(s.trouble);
            return false;
        }
    }
    std::vector<LineDiff::Hunk> hunks = LineDiff::FindHunks(*sides[0].reduced, *sides[1].reduced, settings.lines);
    MarkIgnoredHunks(hunks, *sides[0].reduced, *sides[1].reduced, settings.lines, settings.ignoreMatching.get());
    const std::vector<std::int64_t> kept[2] = {std::move(sides[0].kept), std::move(sides[1].kept)};
    const std::int64_t counts[2] = {c.files[0]->LineCount(), c.files[1]->LineCount()};
    c.hunks = HunksOfWholeFiles(hunks, kept, counts);
    for (int side = 0; side < 2; ++side)
        c.skipped[side] = std::make_shared<const LineMask>(std::move(sides[side].mask));
    return true;
}

Comparison CompareOpened(InputFile& one, InputFile& two, const CompareSettings& settings)
{
    if (!one.Ok())
        return Failed(Trouble::File, one.Error());
    if (!two.Ok())
        return Failed(Trouble::File, two.Error());
    // The same file named twice (even an endless one such as /dev/zero,
    // or standard input twice) is identical without reading a byte.
    if (one.SameFileAs(two))
        return {};
    if (!one.ReadFirstBlock())
        return Failed(Trouble::File, one.Error());
    if (!two.ReadFirstBlock())
        return Failed(Trouble::File, two.Error());
    // Two files read whole in their first blocks, byte for byte the same:
    // identical under any setting, without splitting them into lines.
    if (ReadWhole(one) && ReadWhole(two) && one.FirstBlock() == two.FirstBlock())
        return {};
    Comparison c;
    // A wide file's NUL bytes say nothing until it has been decoded.
    const auto binary = [&](const InputFile& file) {
        return file.LooksBinary(settings.binaryProbe == 0 ? SIZE_MAX : settings.binaryProbe)
               && !(settings.decodeUnicode && WideText::EncodingOfMark(file.FirstBlock()) != TextEncoding::Utf8);
    };
    if (!settings.forceText && (binary(one) || binary(two))) {
        FileError error;
        const bool same = SameBytes(one, two, error);
        if (error.Failed())
            return Failed(Trouble::File, std::move(error));
        c.outcome = same ? Outcome::Identical : Outcome::BinaryDiffer;
        return c;
    }
    const LineFile::Wide wide = settings.decodeUnicode ? LineFile::Wide::Decode : LineFile::Wide::Keep;
    const LineFile::Endings endings = settings.stripTrailingCr ? LineFile::Endings::StripCr : LineFile::Endings::Keep;
    bool undecodedBinary = false;
    for (int side = 0; side < 2; ++side) {
        InputFile& file = side == 0 ? one : two;
        LineFile::LoadResult loaded = LineFile::FromOpened(file, wide, endings);
        if (!loaded.file)
            return Failed(Trouble::File, std::move(loaded.error));
        // (Facts() only for a file with a NUL byte: its first call finds
        // the encoding, which a comparison does not need.)
        undecodedBinary = undecodedBinary || (file.LooksBinary() && loaded.file->Facts().undecodable);
        c.files[side] = std::move(loaded.file);
    }
    // Not valid in the encoding its mark names, and binary by the usual
    // test: both files are in memory now, and neither is shown as text.
    // (An undecoded file's bytes differ from a decoded one's.)
    if (!settings.forceText && undecodedBinary) {
        c.outcome = c.files[0]->Bytes() == c.files[1]->Bytes() ? Outcome::Identical : Outcome::BinaryDiffer;
        c.files[0].reset();
        c.files[1].reset();
        return c;
    }
    if (settings.skipLines) {
        if (!FindHunksSkipping(c, *settings.skipLines, settings))
            return c;
    } else {
        c.hunks = LineDiff::FindHunks(*c.files[0], *c.files[1], settings.lines);
        MarkIgnoredHunks(c.hunks, *c.files[0], *c.files[1], settings.lines, settings.ignoreMatching.get());
    }
    const bool differ = std::any_of(c.hunks.begin(), c.hunks.end(), [](const LineDiff::Hunk& h) { return !h.ignored; });
    c.outcome = differ ? Outcome::Different : Outcome::Identical;
    return c;
}

}  // namespace

bool CompareSettings::BytesDecide() const
{
    const LineDiff::Settings& s = lines;
    return !s.ignoreCase && !s.ignoreWhiteSpace && !s.ignoreSpaceChange && !s.ignoreTrailingSpace
           && !s.ignoreTabExpansion && !s.ignoreLineEndings && !s.ignoreBlankLines && !decodeUnicode && !stripTrailingCr
           && !(ignoreMatching && !ignoreMatching->Empty()) && !skipLines;
}

Comparison CompareInputs(InputFile& one, InputFile& two, const CompareSettings& settings)
{
    try {
        return CompareOpened(one, two, settings);
    } catch (const std::bad_alloc&) {
        return Failed(Trouble::OutOfMemory);
    } catch (const std::length_error&) {
        return Failed(Trouble::TooManyLines);
    }
}
