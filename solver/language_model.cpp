#include "solver/language_model.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "solver/language_tables.h"
#include "toolkit/assert.h"

namespace zam::solver {
namespace {

constexpr int kScale = 20;  // twentieths of log10, as the generator writes levels
// A symbol after a trigram the tables never saw: without this, everything after one unseen
// trigram would cost nothing.
constexpr int kUnseenContextScore = -90;

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
        for (char c : item) index = index << kIndexBits | c;
        table[static_cast<std::size_t>(index)] = static_cast<std::int16_t>(score);
    });
}

// The n-gram model's own estimate of "_word_": its first trigram, then each further symbol given
// the three before it.
int ChainScore(const LanguageModel& model, std::string_view word) {
    std::string s;
    s += static_cast<char>(kGap);
    s += word;
    s += static_cast<char>(kGap);
    const auto at = [&](std::size_t i) { return static_cast<int>(s[i]); };
    int score = model.trigrams[static_cast<std::size_t>(TrigramIndex(at(0), at(1), at(2)))];
    for (std::size_t i = 3; i < s.size(); ++i) {
        score += model.conditional[static_cast<std::size_t>(
            QuadgramIndex(at(i - 3), at(i - 2), at(i - 1), at(i)))];
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
        model.conditional.resize(model.quadgrams.size());
        for (std::size_t i = 0; i < model.quadgrams.size(); ++i) {
            const int tri = model.trigrams[i >> kIndexBits];
            model.conditional[i] = static_cast<std::int16_t>(
                tri == model.trigramFloor ? kUnseenContextScore : model.quadgrams[i] - tri);
        }
        ForEachItem(kWords, [&](int score, std::string_view word) {
            std::uint64_t hash = kWordHashStart;
            for (std::size_t i = 0; i < word.size(); ++i) {
                hash = WordHashStep(hash, word[i]);
                if (i + 1 >= kShortestStem && i + 1 < word.size() && i + 4 >= word.size()) {
                    model.stems.Add(hash);
                }
            }
            const int chain = std::max(ChainScore(model, word), -30000);
            model.words.Add(hash, {static_cast<std::int16_t>(score),
                                   static_cast<std::int16_t>(chain)});
        });
    }
    return model;
}

}  // namespace

void StemSet::Add(std::uint64_t hash) {
    ZAM_ASSERT(hash != 0 && count_ < kSlots / 2);
    std::size_t i = Slot(hash);
    while (keys_[i] != 0 && keys_[i] != hash) i = (i + 1) & kMask;
    if (keys_[i] == 0) ++count_;
    keys_[i] = hash;
}

void WordScores::Add(std::uint64_t hash, WordLevels score) {
    ZAM_ASSERT(hash != 0 && count_ < kSlots / 2);
    std::size_t i = Slot(hash);
    while (keys_[i] != 0 && keys_[i] != hash) i = (i + 1) & kMask;
    if (keys_[i] == 0) ++count_;
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
