#include "solver/language_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <compare>
#include <memory>
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
// word with none. A context never counted is the shorter one's, but for one holding kOutside, a
// word's beginning, which is read from the counts of the shorter n-grams themselves.
std::vector<std::int16_t> SmoothedConditional(std::vector<float> quadgramCounts) {
    // counts[n][i]: for n = 4 the quadgram counts, below that how many distinct symbols precede
    // the n-gram at the low bits of i (continuation counts); seen[n][i] how often the n-gram
    // itself was seen.
    std::array<std::vector<float>, 5> counts, seen;
    counts[4] = std::move(quadgramCounts);
    for (std::size_t n = 3; n >= 1; --n) {
        counts[n].assign(std::size_t{1} << (n * kIndexBits), 0.0f);
        seen[n].assign(counts[n].size(), 0.0f);
        for (std::size_t i = 0; i < counts[n + 1].size(); ++i) {
            const float c = n == 3 ? counts[4][i] : seen[n + 1][i];
            if (counts[n + 1][i] > 0)
                counts[n][i & (counts[n].size() - 1)] += 1.0f;
            seen[n][i >> kIndexBits] += c;
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
    // The share of each symbol after a context of counts c, given the shorter context's shares.
    const auto shares = [](const float* c, const double* lower, double* out) {
        double sum = 0, types = 0;
        for (std::size_t d = 0; d < kWidth; ++d) {
            sum += c[d];
            types += c[d] > 0;
        }
        for (std::size_t d = 0; d < kWidth; ++d) {
            out[d] = sum == 0
                         ? lower[d]
                         : (std::max(c[d] - kDiscount, 0.0) + kDiscount * types * lower[d]) / sum;
        }
        return sum > 0;
    };
    for (std::size_t n = 2; n <= 3; ++n) {
        p[n].resize(counts[n].size());
        for (std::size_t context = 0; context < p[n].size(); context += kWidth) {
            const std::size_t lower = context & (p[n - 1].size() - 1);
            shares(&counts[n][context], &p[n - 1][lower], &p[n][context]);
        }
    }
    const auto level = [](double share) {
        return static_cast<std::int16_t>(std::lround(kScale * std::log10(share)));
    };
    std::vector<std::int16_t> lowerLevels(p[3].size());
    std::transform(p[3].begin(), p[3].end(), lowerLevels.begin(), level);
    std::vector<std::int16_t> levels(kSize);
    std::array<double, kWidth> out{};
    for (std::size_t context = 0; context < kSize; context += kWidth) {
        const std::size_t trigram = context & (kSize / kWidth - 1);
        const std::size_t bigram = context & (kWidth * kWidth - 1);
        if (shares(&counts[4][context], &p[3][trigram], out.data())) {
            std::transform(out.begin(), out.end(), &levels[context], level);
        } else if (context >> (3 * kIndexBits) != kOutside) {
            // Most contexts of four were never counted and are their last three's.
            std::copy_n(&lowerLevels[trigram], kWidth, &levels[context]);
        } else {
            // A word's first letters are what the text shows after a gap, not what the
            // continuation counts, made for backing off, would say.
            if (trigram >> (2 * kIndexBits) != kOutside) {
                shares(&seen[3][trigram], &p[2][bigram], out.data());
            } else {
                shares(&seen[2][bigram], p[1].data(), out.data());
            }
            std::transform(out.begin(), out.end(), &levels[context], level);
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

// Sorts 32-bit numbers by two passes of 16 bits: quicker than a comparison sort for millions.
void RadixSort(std::vector<std::uint32_t>& values) {
    std::vector<std::uint32_t> other(values.size());
    for (int shift : {0, 16}) {
        std::vector<std::size_t> starts(std::size_t{1} << 16 | 1);
        for (std::uint32_t v : values)
            ++starts[(v >> shift & 0xFFFF) + 1];
        for (std::size_t i = 1; i < starts.size(); ++i)
            starts[i] += starts[i - 1];
        for (std::uint32_t v : values)
            other[starts[v >> shift & 0xFFFF]++] = v;
        values.swap(other);
    }
}

// A beginning of a listed word, the rest of the word, and the word's level.
struct StemEnding {
    std::uint64_t stem;
    std::uint16_t ending;
    std::int16_t level;
    auto operator<=>(const StemEnding&) const = default;
};

// Fills the stems' endings and the endings' pairs from those of every listed word.
void AddStems(LanguageModel& model, std::vector<StemEnding> all) {
    // Each word gives each of its beginnings one ending: the pairs are distinct already.
    std::sort(all.begin(), all.end());
    constexpr int kEndingBits = 3 * kIndexBits;
    std::vector<int> stemsWith(std::size_t{1} << kEndingBits);
    std::vector<std::uint32_t> pairs;  // first << kEndingBits | second, once per stem with both
    std::vector<std::uint16_t> endings;
    std::vector<std::int16_t> levels;
    for (std::size_t i = 0; i < all.size();) {
        std::size_t end = i;
        endings.clear();
        levels.clear();
        for (; end < all.size() && all[end].stem == all[i].stem; ++end) {
            endings.push_back(all[end].ending);
            levels.push_back(all[end].level);
        }
        if (endings.size() <= kMostEndings) {
            model.stems.Add(all[i].stem, endings, levels);
            for (std::uint16_t a : endings) {
                ++stemsWith[a];
                for (std::uint16_t b : endings) {
                    if (a != b)
                        pairs.push_back(std::uint32_t{a} << kEndingBits | b);
                }
            }
        }
        i = end;
    }
    RadixSort(pairs);
    for (std::size_t i = 0; i < pairs.size();) {
        std::size_t end = i;
        while (end < pairs.size() && pairs[end] == pairs[i])
            ++end;
        const std::uint32_t first = pairs[i] >> kEndingBits;
        const std::uint32_t second = pairs[i] & ((1u << kEndingBits) - 1);
        const auto both = static_cast<int>(end - i);
        // One more stem with the second ending than counted: a pair seen once is no certainty.
        const double share = both / (stemsWith[second] + 1.0);
        const auto level = static_cast<int>(std::lround(kScale * std::log10(share)));
        const bool bound =
            both >= kLeastBoundStems && both >= kBoundEndingShare * (stemsWith[first] + 1.0);
        if (level >= (bound ? kLowestBoundEndingPair : kLowestEndingPair)) {
            model.endingPairs.Add(EndingPairHash(static_cast<std::uint16_t>(first),
                                                 static_cast<std::uint16_t>(second)),
                                  static_cast<std::int16_t>(level));
        }
        i = end;
    }
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
        std::vector<StemEnding> stemEndings;
        ForEachItem(kWords, [&](int score, std::string_view word) {
            std::uint64_t hash = kWordHashStart;
            for (std::size_t i = 0; i < word.size(); ++i) {
                hash = WordHashStep(hash, word[i]);
                if (IsBeginning(i + 1, word.size())) {
                    stemEndings.push_back(
                        {hash, EndingCodeOf(word.substr(i + 1)), static_cast<std::int16_t>(score)});
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
        AddStems(model, std::move(stemEndings));
        std::vector<float> nameCounts(kSize, 0.0f);
        ForEachItem(kNames, [&](int, std::string_view name) {
            int a = kOutside, b = kOutside, c = kGap;
            for (std::size_t i = 0; i <= name.size(); ++i) {
                const int d = i < name.size() ? name[i] : kGap;
                nameCounts[static_cast<std::size_t>(QuadgramIndex(a, b, c, d))] += 1;
                a = b;
                b = c;
                c = d;
            }
        });
        model.nameConditional = SmoothedConditional(std::move(nameCounts));
        ForEachItem(kWordPairs, [&](int score, std::string_view item) {
            const auto level = static_cast<std::int16_t>(kWordPairOffset + score);
            std::uint64_t hash[2] = {kWordHashStart, kWordHashStart};
            std::size_t word = 0, gaps = 0;
            for (char c : item) {
                if (c == kGap) {
                    word = 1;
                    ++gaps;
                } else {
                    hash[word] = WordHashStep(hash[word], c);
                }
            }
            if (gaps == 4)
                model.stemPairs.Add(PairHash(hash[0], hash[1]), level);
            else if (gaps == 3)
                model.suffixes.Add(SuffixPairHash(hash[0], hash[1]), level);
            else if (gaps == 2)
                model.endings.Add(EndingHash(hash[0], item.back()), level);
            else if (word == 0)
                model.followers.Add(hash[0], level);
            else
                model.pairs.Add(PairHash(hash[0], hash[1]), level);
        });
    }
    return model;
}

// round(kScale * log10(1 + 10^(-d / kScale))) for level differences d; past its end, 0.
const std::array<std::int8_t, 128>& LevelSumTable() {
    static const auto table = [] {
        std::array<std::int8_t, 128> t{};
        for (std::size_t d = 0; d < t.size(); ++d) {
            t[d] = static_cast<std::int8_t>(std::lround(
                kScale * std::log10(1.0 + std::pow(10.0, -static_cast<double>(d) / kScale))));
        }
        return t;
    }();
    return table;
}

}  // namespace

int LevelSum(int a, int b) {
    static const auto& table = LevelSumTable();
    const int high = std::max(a, b);
    const auto d = static_cast<std::size_t>(high - std::min(a, b));
    return d < table.size() ? high + table[d] : high;
}

void StemEndings::Add(std::uint64_t stem, std::span<const std::uint16_t> endings,
                      std::span<const std::int16_t> levels) {
    ZAM_ASSERT(endings.size() <= kMostEndings && levels.size() == endings.size());
    ranges_[slots_.Insert(stem)] =
        static_cast<std::uint32_t>(endings_.size() << kCountBits | endings.size());
    endings_.insert(endings_.end(), endings.begin(), endings.end());
    levels_.insert(levels_.end(), levels.begin(), levels.end());
}

void WordScores::Add(std::uint64_t hash, WordLevels score) {
    const std::size_t bit = Bit(hash);
    filter_[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    values_[slots_.Insert(hash)] = score;
}

namespace {

// Built on first use and kept until released, so that a program can give the memory back
// before it counts what it lost.
std::unique_ptr<const LanguageModel>& ModelSlot(bool withGaps) {
    static std::unique_ptr<const LanguageModel> models[2];
    return models[withGaps ? 1 : 0];
}

const LanguageModel& Model(bool withGaps) {
    std::unique_ptr<const LanguageModel>& slot = ModelSlot(withGaps);
    if (!slot)
        slot = std::make_unique<const LanguageModel>(Build(withGaps));
    return *slot;
}

}  // namespace

const LanguageModel& WithGapModel() {
    return Model(true);
}

const LanguageModel& LettersOnlyModel() {
    return Model(false);
}

void ReleaseModels() {
    ModelSlot(true).reset();
    ModelSlot(false).reset();
}

}  // namespace zam::solver
