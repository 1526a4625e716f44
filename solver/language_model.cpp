#include "solver/language_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "solver/language_tables.h"
#include "toolkit/assert.h"

namespace zam::solver {
namespace {

constexpr int kScale = 20;  // twentieths of log10, as the generator writes levels
// Kneser-Ney's usual discount: taken off every seen count and handed to the shorter context.
constexpr double kDiscount = 0.75;

int Symbol(char c) {
    return static_cast<unsigned char>(c) - 0x60;
}

std::int16_t FloorScore(long long total) {
    return static_cast<std::int16_t>(std::lround(kScale * std::log10(0.01 / total)));
}

// Calls `item(score, symbols)` for every item of a generated table, undoing the front coding.
template <class Item>
void ForEachItem(std::string_view table, Item item) {
    std::string symbols;
    while (table.size() > 3) {
        const int level = (table[0] - '0') * 100 + (table[1] - '0') * 10 + (table[2] - '0');
        std::size_t i = 3;
        while (i < table.size() && table[i] != '\n') {
            symbols.resize(std::min<std::size_t>(symbols.size(), table[i++] - 'A'));
            while (i < table.size() && static_cast<unsigned char>(table[i]) >= 0x60) {
                symbols += static_cast<char>(Symbol(table[i++]));
            }
            item(-level, std::string_view(symbols));
        }
        table.remove_prefix(std::min(table.size(), i + 1));
    }
}

void FillNgrams(std::vector<std::int16_t>& table, std::int16_t floor, std::string_view text,
                std::size_t n) {
    table.assign(std::size_t{1} << (kIndexBits * n), floor);
    ForEachItem(text, [&](int score, std::string_view item) {
        int index = 0;
        for (char c : item)
            index = index << kIndexBits | c;
        table[static_cast<std::size_t>(index)] = static_cast<std::int16_t>(score);
    });
}

constexpr std::size_t kSize = std::size_t{1} << (4 * kIndexBits);
constexpr std::size_t kWidth = std::size_t{1} << kIndexBits;

// Each symbol given the three before it by interpolated Kneser-Ney, as levels indexed as the
// quadgrams: a quadgram never counted gets what the shorter contexts say of its last symbol, not
// a flat floor, so that a name or a rare form with one unseen quadgram is not read as a commoner
// word with none. A context never counted (one holding kOutside, say) is the shorter one's.
std::vector<std::int16_t> SmoothedConditional(std::vector<float> quadgramCounts) {
    // counts[n][i]: for n = 4 the quadgram counts, below that how many distinct symbols precede
    // the n-gram at the low bits of i (continuation counts).
    std::array<std::vector<float>, 5> counts;
    counts[4] = std::move(quadgramCounts);
    for (std::size_t n = 3; n >= 1; --n) {
        counts[n].assign(std::size_t{1} << (n * kIndexBits), 0.0f);
        for (std::size_t i = 0; i < counts[n + 1].size(); ++i) {
            if (counts[n + 1][i] > 0)
                counts[n][i & (counts[n].size() - 1)] += 1.0f;
        }
    }
    // p[n][i]: the symbol at the low bits of i given the n - 1 before it.
    std::array<std::vector<double>, 5> p;
    double sum1 = 0;
    for (float c : counts[1])
        sum1 += c;
    p[1].resize(kWidth);
    // One count spread evenly, so that no symbol is impossible.
    for (std::size_t d = 0; d < kWidth; ++d) {
        p[1][d] = (counts[1][d] + 1.0 / kWidth) / (sum1 + 1.0);
    }
    const auto level = [](double share) {
        return static_cast<std::int16_t>(std::lround(kScale * std::log10(share)));
    };
    std::vector<std::int16_t> levels(kSize), lowerLevels;
    for (std::size_t n = 2; n <= 4; ++n) {
        const std::vector<float>& c = counts[n];
        const std::vector<double>& lower = p[n - 1];
        const std::size_t lowerMask = lower.size() - 1;
        p[n].resize(n < 4 ? c.size() : 0);
        for (std::size_t context = 0; context < c.size(); context += kWidth) {
            double sum = 0, types = 0;
            for (std::size_t d = 0; d < kWidth; ++d) {
                sum += c[context + d];
                types += c[context + d] > 0;
            }
            for (std::size_t d = 0; d < kWidth; ++d) {
                const std::size_t i = context + d;
                const double share = sum == 0 ? lower[i & lowerMask]
                                              : (std::max(c[i] - kDiscount, 0.0) +
                                                 kDiscount * types * lower[i & lowerMask]) /
                                                    sum;
                if (n < 4) {
                    p[n][i] = share;
                } else if (sum > 0) {
                    levels[i] = level(share);
                } else {
                    // Most contexts of four were never counted and are their last three's.
                    levels[i] = lowerLevels[i & lowerMask];
                }
            }
        }
        if (n == 3) {
            lowerLevels.resize(p[3].size());
            for (std::size_t i = 0; i < p[3].size(); ++i)
                lowerLevels[i] = level(p[3][i]);
        }
    }
    return levels;
}

// The n-gram model's own estimate of a word after a gap: each symbol given those before it, the
// gap that ends the word included. A context reaching past the gap holds kOutside, which no
// quadgram has, so the smoothing there is the shorter context's alone.
int ChainScore(const LanguageModel& model, std::string_view word) {
    int score = 0;
    int a = kOutside, b = kOutside, c = kGap;
    for (std::size_t i = 0; i <= word.size(); ++i) {
        const int d = i < word.size() ? word[i] : kGap;
        score += model.conditional[static_cast<std::size_t>(QuadgramIndex(a, b, c, d))];
        a = b;
        b = c;
        c = d;
    }
    return score;
}

LanguageModel Build(bool withGap) {
    LanguageModel model;
    const long long quadTotal = withGap ? kQuadgramsWithGapTotal : kQuadgramsLettersOnlyTotal;
    const long long triTotal = withGap ? kTrigramsWithGapTotal : kTrigramsLettersOnlyTotal;
    model.quadgramFloor = FloorScore(quadTotal);
    model.trigramFloor = FloorScore(triTotal);
    FillNgrams(model.quadgrams, model.quadgramFloor,
               withGap ? kQuadgramsWithGap : kQuadgramsLettersOnly, 4);
    FillNgrams(model.trigrams, model.trigramFloor,
               withGap ? kTrigramsWithGap : kTrigramsLettersOnly, 3);
    model.wordFloor = FloorScore(kWordsTotal);
    if (withGap) {
        // Counts back from their levels: the rounding (a few per cent) matters nowhere.
        std::vector<float> countOfLevel(static_cast<std::size_t>(-model.quadgramFloor) + 1);
        for (std::size_t l = 0; l < countOfLevel.size(); ++l) {
            countOfLevel[l] = static_cast<float>(std::round(
                static_cast<double>(quadTotal) * std::pow(10.0, -static_cast<double>(l) / kScale)));
        }
        std::vector<float> counts(kSize, 0.0f);
        for (std::size_t i = 0; i < kSize; ++i) {
            if (model.quadgrams[i] != model.quadgramFloor) {
                counts[i] = countOfLevel[static_cast<std::size_t>(-model.quadgrams[i])];
            }
        }
        model.conditional = SmoothedConditional(std::move(counts));
        // Unseen words are spelled as the words seen once are (Good-Turing again), not as the
        // common ones: their endings and letters are those of rarer forms and names.
        std::vector<float> typeCounts(kSize, 0.0f);
        const int onceLevel = static_cast<int>(std::lround(kScale * std::log10(1.0 / kWordsTotal)));
        ForEachItem(kWords, [&](int score, std::string_view word) {
            std::uint64_t hash = kWordHashStart;
            for (std::size_t i = 0; i < word.size(); ++i) {
                hash = WordHashStep(hash, word[i]);
                if (i + 1 >= kShortestStem && i + 1 < word.size() && i + 4 >= word.size()) {
                    model.stems.Add(hash);
                }
            }
            if (score <= onceLevel) {
                int a = kOutside, b = kOutside, c = kGap;
                for (std::size_t i = 0; i <= word.size(); ++i) {
                    const int d = i < word.size() ? word[i] : kGap;
                    typeCounts[static_cast<std::size_t>(QuadgramIndex(a, b, c, d))] += 1;
                    a = b;
                    b = c;
                    c = d;
                }
            }
            const int chain = std::max(ChainScore(model, word), -30000);
            model.words.Add(hash,
                            {static_cast<std::int16_t>(score), static_cast<std::int16_t>(chain)});
        });
        model.typeConditional = SmoothedConditional(std::move(typeCounts));
    }
    return model;
}

}  // namespace

void StemSet::Add(std::uint64_t hash) {
    ZAM_ASSERT(hash != 0 && count_ < kSlots / 2);
    std::size_t i = Slot(hash);
    while (keys_[i] != 0 && keys_[i] != hash)
        i = (i + 1) & kMask;
    if (keys_[i] == 0)
        ++count_;
    keys_[i] = hash;
}

void WordScores::Add(std::uint64_t hash, WordLevels score) {
    ZAM_ASSERT(hash != 0 && count_ < kSlots / 2);
    const std::size_t bit = Bit(hash);
    filter_[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    std::size_t i = Slot(hash);
    while (keys_[i] != 0 && keys_[i] != hash)
        i = (i + 1) & kMask;
    if (keys_[i] == 0)
        ++count_;
    keys_[i] = hash;
    values_[i] = score;
}

const LanguageModel& WithGapModel() {
    static const LanguageModel model = Build(true);
    return model;
}

const LanguageModel& LettersOnlyModel() {
    static const LanguageModel model = Build(false);
    return model;
}

}  // namespace zam::solver
