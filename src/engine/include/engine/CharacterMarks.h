#pragma once
// The marks of a changed line pair as a reader takes them in. The longest
// common subsequence of two rewritten lines is full of letters that two
// unrelated sentences happen to share ("f|or| m|o|st soft|ware|"); Tidy turns
// such confetti into the edit a person made, while a one-character edit
// stays one character:
//   1. a character and the combining marks after it share one mark;
//   2. an insertion or a deletion moves along the common text around it,
//      as far as it says the same, to where its edges fall between words;
//   3. a run of common characters between two changes is taken into them
//      when it is short and shorter than both (kLongestAbsorbedRun);
//   4. a word that a change cuts into is marked whole when at least half
//      of it differs, or a quarter of it in more than one place;
//   5. step 3 again, for the runs step 4 left between changes;
//   6. when little of the two lines is still common (kLeastCommonPercent),
//      the lines are compared word by word instead: a word is common or
//      differs whole, and runs of common text between changes that hold no
//      word or are short are taken into the changes. Two unrelated lines
//      are so marked whole, apart from the words they share;
//   7. blanks at the edges of a change that both lines have there stay
//      common ("Version[ 3]" reads "Version [3]").
// What stays common stays where the comparison placed it (its tie rule).
// Each step is one pass over the characters, or a stack that only
// shrinks; the comparison by words is bounded as the character comparison
// is.

#include "engine/CharacterLcs.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace CharacterMarks {

// What a character is to the cleanup.
enum class Kind : std::uint8_t {
    Other,     // punctuation, symbols, controls
    Space,     // white space
    Word,      // letters, digits and '_'
    Attached,  // a combining mark: belongs to the character before it
};

// A run of common characters between two changes is absorbed when it is
// at most this long and shorter than each change beside it (a change is as
// long as the longer of its two sides). Measured with marks_bench over the
// changed line pairs of six licence pairs and of generated source edits,
// against git's word diff of the same pairs: 2 leaves 8 % more marked runs
// than 3 for 1 % fewer marked characters; 4 gives 10 % fewer runs than 3
// but 1 % more characters, more than git's word diff marks.
inline constexpr std::int64_t kLongestAbsorbedRun = 3;

// The lines are compared word by word when, after steps 1 to 5, fewer
// than this share of their characters is common (twice the common
// characters against both lengths together). Measured as above: sentences
// rewritten between licence versions keep 20 to 45 % of their characters
// in common by chance, edited ones 60 % or more; from 30 to 60 the marked
// runs and characters change by less than 1 %, and 50 gives the fewest
// runs.
inline constexpr std::int64_t kLeastCommonPercent = 50;

// Pairs of lines longer than this together (in characters) keep the marks
// of the comparison as they are: such lines are data rather than text a
// person edits, and the cleanup, about 15 ns a character, would take a
// pair of 50 MB lines from 0.3 s to 1.6 s (and 190 MB more) before the
// window paints. Two lines of 1 MB each are cleaned up in 15 to 30 ms.
inline constexpr std::size_t kLongestTidiedPair = std::size_t{4} << 20;

// Cleans up the marks of two lines (true = common; the k-th common
// character of line one is paired with the k-th of line two), given their
// characters as they were compared, one mark and one kind per character.
// Marks that do not fit the lines, and pairs longer than
// kLongestTidiedPair, are left as they are.
template <class Char>
void Tidy(std::basic_string_view<Char> one, std::basic_string_view<Char> two, std::vector<bool>& marks1,
          std::vector<bool>& marks2, const std::vector<Kind>& kinds1, const std::vector<Kind>& kinds2);

// The kind of a code point by the Unicode 14 character database: marks
// (Mn, Mc, Me) are Attached; punctuation, symbols, separators and controls
// are Other; everything else (letters, numbers, '_', unassigned) is Word.
[[nodiscard]] Kind KindOf(char32_t c);

// The cleaned-up marks of two lines of UTF-8 text, one mark per byte: the
// bytes of one character share its mark, and a byte that is not valid UTF-8
// is a character of its own. With ignoreCase characters are compared by
// their simple case folding.
[[nodiscard]] modVantrel::CharacterDiffResult MarkUtf8Lines(std::string_view one, std::string_view two,
                                                            bool ignoreCase);

}  // namespace CharacterMarks
