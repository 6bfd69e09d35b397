#include "engine/Comparison.h"

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
    Comparison c;
    if (!settings.forceText && (one.LooksBinary() || two.LooksBinary())) {
        FileError error;
        const bool same = SameBytes(one, two, error);
        if (error.Failed())
            return Failed(Trouble::File, std::move(error));
        c.outcome = same ? Outcome::Identical : Outcome::BinaryDiffer;
        return c;
    }
    for (int side = 0; side < 2; ++side) {
        LineFile::LoadResult loaded = LineFile::FromOpened(side == 0 ? one : two);
        if (!loaded.file)
            return Failed(Trouble::File, std::move(loaded.error));
        c.files[side] = std::move(loaded.file);
    }
    c.hunks = LineDiff::FindHunks(*c.files[0], *c.files[1], settings.lines);
    c.outcome = c.hunks.empty() ? Outcome::Identical : Outcome::Different;
    return c;
}

}  // namespace

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
