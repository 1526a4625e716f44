#pragma once
// Russian n-gram and word scores, decoded once from the generated tables. Scores are integers in
// twentieths of a decimal logarithm of the share (higher is more likely), so that sums are exact
// and the search does the same on every machine.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "toolkit/assert.h"

namespace zam::solver {

// Symbol indices: 0-29 the letters in alphabet order, 30 the word gap. Tables are 32 wide so
// that an index is a shift; index 31 is no symbol and scores as unseen.
inline constexpr int kGap = 30;
inline constexpr int kIndexBits = 5;
inline constexpr int kOutside = 31;  // no symbol: what lies before a word's opening gap
inline constexpr std::size_t kShortestStem = 4;
// Whether a word's first `letters` letters are one of its beginnings: the word less its last one
// to three letters, kShortestStem letters at least.
inline constexpr bool IsBeginning(std::size_t letters, std::size_t length) {
    return letters >= kShortestStem && letters < length && letters + 3 >= length;
}

// Words are looked up by a 64-bit hash of their symbols (FNV-1a over symbol index + 1): among
// some hundred thousand words a collision is too unlikely to matter.
inline constexpr std::uint64_t kWordHashStart = 0xCBF29CE484222325ull;
inline std::uint64_t WordHashStep(std::uint64_t hash, int symbol) {
    return (hash ^ static_cast<std::uint64_t>(symbol + 1)) * 0x100000001B3ull;
}

// A listed word's own level, and the level the conditional n-grams give "word_" after a gap, so
// that a scorer can put the one in place of the other.
struct WordLevels {
    std::int16_t word = 0;
    std::int16_t chain = 0;
};

// Open-addressed slots for 64-bit hashes (0 marks an empty slot), kept under half full.
template <int kSlotBits>
class HashSlots {
public:
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    // The slot that holds the hash, or the empty slot where it would go.
    std::size_t Probe(std::uint64_t hash) const {
        std::size_t i = static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> 40) & kMask;
        while (keys_[i] != 0 && keys_[i] != hash)
            i = (i + 1) & kMask;
        return i;
    }
    bool Holds(std::size_t slot) const { return keys_[slot] != 0; }
    // The hash's slot, taken if it was free.
    std::size_t Insert(std::uint64_t hash) {
        ZAM_ASSERT(hash != 0 && count_ < kSlots / 2);
        const std::size_t i = Probe(hash);
        if (keys_[i] == 0) {
            keys_[i] = hash;
            ++count_;
        }
        return i;
    }

private:
    static constexpr std::size_t kMask = kSlots - 1;
    std::vector<std::uint64_t> keys_ = std::vector<std::uint64_t>(kSlots);
    std::size_t count_ = 0;
};

class WordScores {
public:
    void Add(std::uint64_t hash, WordLevels levels);
    // The word's levels, or null when it is not listed.
    const WordLevels* Find(std::uint64_t hash) const {
        const std::size_t bit = Bit(hash);
        if (!(filter_[bit >> 6] >> (bit & 63) & 1))
            return nullptr;
        const std::size_t slot = slots_.Probe(hash);
        return slots_.Holds(slot) ? &values_[slot] : nullptr;
    }

private:
    using Slots = HashSlots<18>;
    // One bit per hash, a table small enough to stay in the cache: the search asks mostly about
    // words no list holds, and the bit turns nearly all of them away without a look at the slots.
    static constexpr std::size_t kFilterBits = std::size_t{1} << 21;
    static std::size_t Bit(std::uint64_t hash) {
        return static_cast<std::size_t>((hash * 0xC2B2AE3D27D4EB4Full) >> 43);
    }
    std::vector<std::uint64_t> filter_ = std::vector<std::uint64_t>(kFilterBits / 64);
    Slots slots_;
    std::vector<WordLevels> values_ = std::vector<WordLevels>(Slots::kSlots);
};

// Levels by 64-bit hash, for up to half of 2^kSlotBits hashes.
template <int kSlotBits>
class HashLevels {
public:
    void Add(std::uint64_t hash, std::int16_t level) { values_[slots_.Insert(hash)] = level; }
    // The hash's level, or `absent` when it is not listed.
    int Find(std::uint64_t hash, int absent) const {
        const std::size_t slot = slots_.Probe(hash);
        return slots_.Holds(slot) ? values_[slot] : absent;
    }

private:
    using Slots = HashSlots<kSlotBits>;
    Slots slots_;
    std::vector<std::int16_t> values_ = std::vector<std::int16_t>(Slots::kSlots);
};

// A word's last one to three letters as a number: five bits each, the first highest.
inline std::uint16_t EndingCode(std::uint16_t code, int symbol) {
    return static_cast<std::uint16_t>(code << kIndexBits | (symbol + 1));
}
// The code of one to three letters, given as symbol indices.
inline std::uint16_t EndingCodeOf(std::string_view symbols) {
    std::uint16_t code = 0;
    for (char s : symbols)
        code = EndingCode(code, s);
    return code;
}
// Two endings as one hash (never 0).
inline std::uint64_t EndingPairHash(std::uint16_t ending, std::uint16_t other) {
    return (std::uint64_t{ending} << 16 | other) + 1;
}

// The endings each beginning of a listed word is met with, and the levels of the words they make:
// the word less its last one to three letters, four letters at least. A beginning met with more
// endings than kMostEndings is a common prefix rather than a word's stem, and is left out.
inline constexpr std::size_t kMostEndings = 40;
// A hundredth: an ending met with another less often says nothing of a form, unless the ending
// is itself seldom met without the other: a participle's -МАЯ is met beside under 1 % of the verbs'
// -Т, but a quarter of the beginnings with -МАЯ have -Т too. Such a pair counts down to a
// three-hundredth, when at least a fifth of the beginnings with the rarer ending, and five at
// least, have both.
inline constexpr int kLowestEndingPair = -40;
inline constexpr int kLowestBoundEndingPair = -50;
inline constexpr double kBoundEndingShare = 0.2;
inline constexpr int kLeastBoundStems = 5;
class StemEndings {
public:
    void Add(std::uint64_t stem, std::span<const std::uint16_t> endings,
             std::span<const std::int16_t> levels);
    // The endings a beginning is met with, and the levels of the words they make with it.
    struct Forms {
        std::span<const std::uint16_t> endings;
        std::span<const std::int16_t> levels;
    };
    // Empty when the beginning is not listed.
    Forms Of(std::uint64_t stem) const {
        const std::size_t slot = slots_.Probe(stem);
        if (!slots_.Holds(slot))
            return {};
        const std::uint32_t range = ranges_[slot];
        const std::size_t at = range >> kCountBits, count = range & kCountMask;
        return {std::span(endings_).subspan(at, count), std::span(levels_).subspan(at, count)};
    }

private:
    using Slots = HashSlots<19>;
    static constexpr int kCountBits = 6;
    static constexpr std::uint32_t kCountMask = (1u << kCountBits) - 1;
    static_assert(kMostEndings <= kCountMask);
    Slots slots_;
    std::vector<std::uint32_t> ranges_ =
        std::vector<std::uint32_t>(Slots::kSlots);  // offset, count
    std::vector<std::uint16_t> endings_;
    std::vector<std::int16_t> levels_;
};

// Two words' hashes as one.
inline std::uint64_t PairHash(std::uint64_t first, std::uint64_t second) {
    return WordHashStep(first * 0x9E3779B97F4A7C15ull, kGap) ^ second;
}
// A word's hash and the last letter of the word after it.
inline std::uint64_t EndingHash(std::uint64_t first, int last) {
    return WordHashStep(WordHashStep(first, kGap), kGap) ^ static_cast<std::uint64_t>(last + 1);
}

// The last two letters of a word and of the word after it, as one hash.
inline std::uint64_t SuffixPairHash(std::uint64_t first, std::uint64_t second) {
    return WordHashStep(WordHashStep(first * 0xD6E8FEB86659FD93ull, kGap), kGap) ^ second;
}

struct LanguageModel {
    std::vector<std::int16_t> quadgrams;  // indexed by 4 symbols, 5 bits each, first highest
    std::vector<std::int16_t> trigrams;
    // Each symbol given the three before it, smoothed by the shorter contexts (Kneser-Ney) and
    // indexed as the quadgrams; a context holding kOutside knows only what follows the gap, so
    // (kOutside, kOutside, gap, x) is x beginning a word. Empty for the letters-only model.
    std::vector<std::int16_t> conditional;
    std::int16_t quadgramFloor = 0;  // unseen: a hundredth of one occurrence
    std::int16_t trigramFloor = 0;
    // The same of the words seen once, each spelled alone between gaps: how an unlisted word
    // reads. Empty for the letters-only model.
    std::vector<std::int16_t> typeConditional;
    // The same of the proper names, each counted once: the endings of surnames and patronymics
    // (-СКИИ, -ОВ, -ЬИЧ) that the rare words seldom have. Empty for the letters-only model.
    std::vector<std::int16_t> nameConditional;
    WordScores words;  // empty for the letters-only model
    // An unlisted word is most likely another form of a listed one when its beginning is listed
    // with endings that go with its own (ЛУЧИНУ beside ЛУЧИНЫ), and most likely no word when they
    // do not (ЛУЩИНУ beside ЛУЩИТЬ): `endingPairs` holds, by EndingPairHash(a, b), the level of the
    // share of listed beginnings met with ending b that are also met with a, where it is at least
    // kLowestEndingPair (or kLowestBoundEndingPair, for an ending bound to the other).
    StemEndings stems;
    HashLevels<19> endingPairs;
    std::int16_t wordFloor = 0;
    // How much likelier a word is after a given one than alone: by PairHash for the pairs the
    // training text holds often enough, by EndingHash for any other word after a one-letter
    // word, and by the first word's hash for any other word after it, times what `suffixes`
    // says of the two words' last two letters (SuffixPairHash), unless `stemPairs` holds, by
    // PairHash of the first word and a beginning of the second (as the stems' beginnings), how
    // much likelier any word so begun is after it. A first word the text never shows first changes
    // nothing but by the letters. Empty for the letters-only model.
    HashLevels<19> pairs;
    HashLevels<18> stemPairs;
    HashLevels<12> endings;
    HashLevels<17> followers;
    HashLevels<15> suffixes;
};

// The level of the sum of two shares given by their levels, to within a rounding step.
int LevelSum(int a, int b);

// Built on first use; safe to call from several threads.
const LanguageModel& WithGapModel();
const LanguageModel& LettersOnlyModel();
// Frees both models; the next use builds them again. No reference to them may be held.
void ReleaseModels();

inline int QuadgramIndex(int a, int b, int c, int d) {
    return (((a << kIndexBits | b) << kIndexBits | c) << kIndexBits) | d;
}
inline int TrigramIndex(int a, int b, int c) {
    return (a << kIndexBits | b) << kIndexBits | c;
}

}  // namespace zam::solver
