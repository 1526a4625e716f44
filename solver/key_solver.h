#pragma once
// Key suggestion: completes a partly worked-out key for a cryptogram so that its plaintext reads
// as Russian. The user's assignments are never changed.
#include <array>
#include <cstdint>
#include <string_view>

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
// Most texts end long before the budget (a 1,000-letter text in some 30 ms); 700 ms keeps even
// a 65,535-character text under a second, the tables built on the first call (some 60 ms)
// included.
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
// model's; higher is better), for measuring the search against a known key.
long long ScoreKey(std::string_view cipherText, const KeyColumns& key);

}  // namespace solver
}  // namespace zam
