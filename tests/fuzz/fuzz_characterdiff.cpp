// Fuzzes the character comparison of two lines with small budgets, so that
// every method runs on short lines. The marks always pick a common
// subsequence (the same characters, in order, in both lines, both halves of
// a surrogate pair alike); except when the work budget ran out it is a
// longest one, as a brute-force table computes. The marks shown after
// their cleanup pick a common subsequence too.

#include "FuzzInput.h"
#include "compare/CharacterDiff.h"
#include "compare/MarkedText.h"
#include "engine/ResultChecker.h"

#include <QString>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const QString one = QString::fromUtf8(input.Bytes(120));
    const QString two = QString::fromUtf8(input.Rest().left(120));
    const bool ignoreCase = flags & 1;
    // Budgets from none to plenty, so that each method gets its turn.
    const std::int64_t cells = std::int64_t{1} << (flags >> 1 & 15);
    const std::int64_t work = std::int64_t{1} << (flags >> 5 & 7) * 3;
    const modVantrel::CharacterDiffResult result = modVantrel::CompareCharacters(one, two, ignoreCase, cells, work);
    const std::optional<std::u32string> common = Marked(one, result.marks1, ignoreCase);
    Check(common && common == Marked(two, result.marks2, ignoreCase) && qint64(common->size()) == result.length);
    // All of a line's code points, as the marks pick them.
    const auto all = [ignoreCase](const QString& text) {
        return *Marked(text, std::vector<bool>(std::size_t(text.size()), true), ignoreCase);
    };
    const qint64 longest = ResultChecker::LcsLength(all(one), all(two));
    Check(result.method == modVantrel::LcsMethod::Partial ? result.length <= longest : result.length == longest);
    // The marks shown after their cleanup still pick a common subsequence.
    const modVantrel::CharacterDiffResult shown =
        modVantrel::ShownCharacterDiffs(LineText(one), LineText(two), ignoreCase);
    const std::optional<std::u32string> shownCommon = Marked(one, shown.marks1, ignoreCase);
    Check(shownCommon && shownCommon == Marked(two, shown.marks2, ignoreCase));
    return 0;
}
