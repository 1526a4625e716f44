#pragma once
// Key suggestion: completes a partly worked-out key for a cryptogram so that its plaintext reads
// as Russian. The user's assignments are never changed.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "workspace/alphabet.h"

namespace zam {

// The key as the workspace holds it: entry column-1 is the plaintext byte of cipher column
// `column`; a byte that is no symbol of columns 1-31 (a space, "?") means unassigned.
using KeyColumns = std::array<char, kColumnCount>;

// Fills every unassigned entry of columns 1-31 so that no plaintext symbol serves two cipher
// columns (unless the user's own assignments already do), keeps "_" as the gap unless the user
// assigned it otherwise, and leaves entry 32 as it was. Bytes of the cipher text outside the
// alphabet are ignored. The search ends when it keeps finding the same key, without gaps after
// restarts in proportion to the text's length that stop improving, or after about `budgetMs`
// milliseconds; the same seed gives the same key whenever it ends one of the first two ways.
// Most texts end long before the budget (a 1,000-letter text in some 30 ms). The first call
// also builds the tables, some 0.3 s on a slow machine.
KeyColumns SuggestKey(std::string_view cipherText, const KeyColumns& key, std::uint64_t seed,
                      int budgetMs);

// Gives back the memory of the language tables, which the first suggestion builds and keeps.
void ReleaseSolverTables();

namespace solver {

struct SolveOptions {
    std::uint64_t seed = 1;
    int budgetMs = 1000;
    int maxRestarts = 0;       // 0: no limit
    int agreeingRestarts = 2;  // stop once the best key has been reached this many times
};

struct SolveReport {
    KeyColumns key{};
    int restarts = 0;
    bool agreed = false;  // ended because restarts agreed, not by a limit
};

SolveReport Solve(std::string_view cipherText, const KeyColumns& key, const SolveOptions& options);

// The score by which the search picks its key among those its climbs reach (with gaps, the word
// model's; without, the n-grams' and the split into listed words'; higher is better), for
// measuring the search against a known key.
long long ScoreKey(std::string_view cipherText, const KeyColumns& key);

struct HintLetter {
    int column = 0;  // the cipher column, 1-31
    char plain = kNoLetter;
    bool agreed = false;  // every key near the best read it so; else the best key's reading
};

// One letter for the user: of the cipher columns the key leaves unassigned and the text holds,
// the one that every key near the best reads the same way and that occurs most often (when no
// such column is left, the commonest one as the best key reads it). The column "_", which is
// taken for the gap when the key leaves it unassigned, comes only when no other is left. Nothing
// when the key leaves no column of the text unassigned. The key's own entries are kept in every
// key searched.
std::optional<HintLetter> SuggestHint(std::string_view cipherText, const KeyColumns& key,
                                      std::uint64_t seed, int budgetMs);

struct KeyDisagreement {
    int column = 0;  // the cipher column, 1-31
    char user = kNoLetter;
    char solver = kNoLetter;
};

struct KeyCheck {
    // The user's entries for columns of the text that the best key found with no entry fixed
    // reads otherwise, when that key is clearly better than the best that keeps them; empty
    // when nothing disagrees or the difference is not clear.
    std::vector<KeyDisagreement> disagreements;
    long long freeScore = 0;  // the two keys' scores on the same terms (higher is better)
    long long keptScore = 0;
};

// Searches once with no entry of the key fixed and once keeping the key's entries, each for half
// of `budgetMs`, and compares. The key is not changed.
KeyCheck CheckKey(std::string_view cipherText, const KeyColumns& key, std::uint64_t seed,
                  int budgetMs);

}  // namespace solver
}  // namespace zam
