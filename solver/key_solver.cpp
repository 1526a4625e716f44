#include "solver/key_solver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "solver/language_model.h"
#include "solver/language_tables.h"

namespace zam {
namespace solver {
namespace {

constexpr int kSymbols = 31;               // cipher symbols of columns 1-31 as indices 0-30
constexpr int kBoundary = 31;              // cipher index of the gap the text starts and ends with
constexpr int kBefore = 32;                // cipher index of what lies before the text
using Key = std::array<std::uint8_t, 33>;  // plaintext index per cipher index
using Clock = std::chrono::steady_clock;

// How a scorer weighs n-grams and words. Scores are sums of item count x weight x level.
struct Weights {
    int quadgram = 0;          // on joint quadgram levels, or conditional ones
    bool conditional = false;  // quadgrams as each symbol given the three before it
    int trigram = 0;
    int word = 0;         // on a listed word's level
    int chain = 0;        // taken off per level the n-grams give the listed word
    int unknown = 0;      // an unlisted word
    int unknownStem = 0;  // one whose listed beginning's endings always go with its own ...
    int stemEnding = 0;   // ... less this per level of how often they do, down to `unknown`
    int typed = 0;        // on how an unlisted word reads as rare words do, in place of the n-grams
    int name = 0;         // level of the share of unlisted words spelled as names; 0: none
    int pair = 0;         // on how much likelier a word is after the one before it than alone
    // An unlisted word whose beginning is listed with an ending that goes with its own is as
    // likely as that listed word, times how often the endings go together, times the share at
    // this level; 0: none is.
    int unlistedForm = 0;
};

// The search's landscape: overlapping joint n-grams count each letter several times over, which
// makes a smooth climb. Whole words matter most on short texts, where many wrong keys give
// plausible n-grams.
constexpr Weights kSearchWeights{
    .quadgram = 2, .trigram = 1, .word = 3, .unknown = -750, .unknownStem = -750};

// The judge of finished climbs: a proper probability of the text, where listed words have their
// own frequency in place of the n-grams' estimate of them, and unlisted ones the share of unseen
// words (Good-Turing: words seen once per token, 2.9 %, about -31 twentieths) times their spelling
// as the words seen once spell theirs. Without the word list a rare letter met once loses to a
// commoner one whose n-grams read better (КОФЕ as КОЖЕ), although the word says otherwise; without
// the spelling model a plausible unlisted form (КРОВЛЯ) loses to any rare listed one (КРОВЛЮ),
// as the text's n-grams spread their estimate over every string of letters. A beginning listed
// with endings that go with the word's own (another form of a listed word) makes an unlisted word
// up to six times likelier, and a form of a common word is about as likely as a thirtieth of it:
// spelled letter by letter a long form (ДОСТОИНСТВАМ beside ДОСТОИНСТВАХ) would be taken for
// millions of times rarer than its listed sibling. Neighbouring words tell apart what one word
// alone cannot (В ЭТО ВРЕМЯ, not В ЧТО ВРЕМЯ; ЧТО Ж, not ЭТО Ж).
constexpr int kJudgeScale = 10;
// Of the unlisted words, the share read as names are spelled (-40: a hundredth); the rest read as
// the rare words.
constexpr int kNameShare = -40;
constexpr Weights kJudgeWeights{.quadgram = kJudgeScale,
                                .conditional = true,
                                .word = kJudgeScale,
                                .chain = kJudgeScale,
                                .unknown = -31 * kJudgeScale,
                                .unknownStem = -15 * kJudgeScale,
                                .stemEnding = kJudgeScale / 2,
                                .typed = kJudgeScale,
                                .name = kNameShare,
                                .pair = kJudgeScale,
                                .unlistedForm = -30};

// Annealing pays off on short texts; longer ones climb straight to their key.
constexpr std::size_t kAnnealedLength = 2000;
constexpr int kAnnealWork = 1'500'000;  // steps x scored items per restart
constexpr int kMinSteps = 1000;
constexpr int kMaxSteps = 10000;
constexpr double kStartTemperature = 300.0;
// Without gaps a short text seldom has one best key: restarts rarely agree, and beyond some in
// proportion to its length they buy little (a text of 50 letters is all but never solved), unless
// they still find better keys: the search stops once it has made them and half as many again
// have brought no better one.
constexpr std::size_t kGaplessLettersPerRestart = 4;
constexpr int kGaplessMinRestarts = 4;
// Climbs whose keys the judge climbs on and ranks: the true key is often not the search's best
// but close behind it.
constexpr std::size_t kFinalists = 4;
// The judge climbs only by cipher letters this rare or rarer: where it differs from the search
// is a letter met once or twice, and a full climb would cost as much again as the search.
constexpr int kRareCount = 3;
// Swaps tried from the search's best key before a climb; more find little more. A long text's
// restarts seldom stop short of its key, and there each climb costs a great deal.
constexpr std::size_t kKicks = 40;
constexpr std::size_t kKickedLength = 500;
// Swaps tried from the judge's best key, by the letters of its unlisted words: where the judge
// prefers a key the search never reached, it is two letters away (ШУЛЬЦ for РЫЛЬЦ).
constexpr std::size_t kJudgeKicks = 10;
// Without gaps the judge adds the split into words, at this weight, to the search's own score, and
// climbs by the swaps that cost the search's score at most kSegmentReach (some five decimal orders
// of its n-grams): past that no split makes up for them, and each split costs a pass over the
// text.
constexpr int kSegmentWeight = 2;
constexpr long long kSegmentReach = 300;

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {  // splitmix64: the same stream on every platform
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(std::size_t n) { return static_cast<int>((Next() >> 11) % n); }
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t state_;
};

// One distinct n-gram, word or pair of neighbouring words of the cipher text, with how often it
// occurs.
struct Item {
    std::int32_t count = 0;
    std::uint32_t mask = 0;    // bit per cipher index it holds
    std::uint32_t offset = 0;  // words: where its symbols start in the word buffer
    std::uint32_t length = 0;
    std::array<std::uint8_t, 4> symbols{};  // n-grams
    std::array<std::uint32_t, 2> words{};   // pairs: the two words' items
};

// Scores keys against the distinct n-grams and words of one cipher text, so the cost of a step
// depends on how varied the text is, not on its length.
class Scorer {
public:
    Scorer(const LanguageModel& model, const std::vector<std::uint8_t>& text, int gapCipher,
           const Weights& weights)
        : model_(model), weights_(weights), rest_(weights.name == 0 ? 0 : RestLevel(weights.name)) {
        CollectNgrams<4>(text, quadgrams_, quadgramsOf_);
        // Conditional levels score each symbol given the three before it: the text's first two
        // letters have theirs too, after the gap it opens with, as a word's chain has.
        if (weights.conditional && text.size() >= 3 && text[0] == kBoundary) {
            Item first;
            first.count = 1;
            first.length = 4;
            first.symbols = {kBefore, kBefore, kBoundary, text[1]};
            Item second = first;
            second.symbols = {kBefore, kBoundary, text[1], text[2]};
            for (const Item& item : {first, second})
                AddItem(quadgrams_, quadgramsOf_, item, std::span(item.symbols.data(), 4));
        }
        CollectNgrams<3>(text, trigrams_, trigramsOf_);
        if (gapCipher >= 0)
            CollectWords(text, gapCipher);
    }

    // A bit per cipher index of the words no list holds under the key.
    std::uint32_t UnlistedLetters(const Key& key) const {
        std::uint32_t mask = 0;
        for (const Item& w : words_) {
            const std::uint64_t hash = WordHash(w, key);
            if (hash == 0 || model_.words.Find(hash) == nullptr)
                mask |= w.mask;
        }
        return mask;
    }

    std::size_t ItemCount() const {
        return quadgrams_.size() + trigrams_.size() + words_.size() + pairs_.size();
    }

    long long Score(const Key& key) const {
        long long total = 0;
        for (const Item& q : quadgrams_)
            total += weights_.quadgram * q.count * Quadgram(q, key);
        for (const Item& t : trigrams_)
            total += weights_.trigram * t.count * Trigram(t, key);
        for (const Item& w : words_)
            total += w.count * Word(w, key);
        for (const Item& p : pairs_)
            total += weights_.pair * p.count * Pair(p, key);
        return total;
    }

    // Takes `key` as the one SwapDelta measures from: each item's level under it is kept, so a
    // step looks up only the levels the swap would give.
    void Reset(const Key& key) {
        const auto fill = [&](std::vector<int>& levels, const std::vector<Item>& items,
                              auto score) {
            levels.resize(items.size());
            for (std::size_t i = 0; i < items.size(); ++i)
                levels[i] = score(items[i], key);
        };
        fill(levels_[0], quadgrams_,
             [this](const Item& q, const Key& k) { return Quadgram(q, k); });
        fill(levels_[1], trigrams_, [this](const Item& t, const Key& k) { return Trigram(t, k); });
        fill(levels_[2], words_, [this](const Item& w, const Key& k) { return Word(w, k); });
        fill(levels_[3], pairs_, [this](const Item& p, const Key& k) { return Pair(p, k); });
    }

    // The change of score when entries x and y of the key last given to Reset trade places.
    long long SwapDelta(const Key& key, std::uint8_t x, std::uint8_t y) {
        Key swapped = key;
        std::swap(swapped[x], swapped[y]);
        pending_.clear();
        const auto change = [&](int list, const std::vector<Item>& items, const Lists& itemsOf,
                                auto score) {
            long long sum = 0;
            const auto add = [&](std::uint32_t i) {
                const int level = score(items[i], swapped);
                sum += items[i].count * (level - levels_[list][i]);
                pending_.push_back({list, i, level});
            };
            for (std::uint32_t i : itemsOf[x])
                add(i);
            // Items holding both were counted with x.
            for (std::uint32_t i : itemsOf[y]) {
                if (!(items[i].mask & (1u << x)))
                    add(i);
            }
            return sum;
        };
        const auto quad = [this](const Item& q, const Key& k) { return Quadgram(q, k); };
        const auto tri = [this](const Item& t, const Key& k) { return Trigram(t, k); };
        const auto word = [this](const Item& w, const Key& k) { return Word(w, k); };
        long long delta = weights_.quadgram * change(0, quadgrams_, quadgramsOf_, quad) +
                          change(2, words_, wordsOf_, word);
        if (weights_.trigram != 0) {
            delta += weights_.trigram * change(1, trigrams_, trigramsOf_, tri);
        }
        if (weights_.pair != 0) {
            const auto pair = [this](const Item& p, const Key& k) { return Pair(p, k); };
            delta += weights_.pair * change(3, pairs_, pairsOf_, pair);
        }
        return delta;
    }

    // The swap SwapDelta last measured was made: its levels are now the key's.
    void Accept() {
        for (const Pending& p : pending_)
            levels_[p.list][p.item] = p.level;
    }

private:
    using Lists = std::array<std::vector<std::uint32_t>, 32>;

    int Quadgram(const Item& q, const Key& k) const {
        const auto& s = q.symbols;
        return (weights_.conditional ? model_.conditional
                                     : model_.quadgrams)[static_cast<std::size_t>(
            QuadgramIndex(k[s[0]], k[s[1]], k[s[2]], k[s[3]]))];
    }
    int Trigram(const Item& t, const Key& k) const {
        const auto& s = t.symbols;
        return model_.trigrams[static_cast<std::size_t>(TrigramIndex(k[s[0]], k[s[1]], k[s[2]]))];
    }
    // A word's hash under the key, 0 when a symbol inside it is no letter, and otherwise the
    // hashes of its beginnings, the shortest first.
    struct WordHashes {
        std::uint64_t word = 0;
        std::array<std::uint64_t, 3> beginnings{};
        std::size_t count = 0;
    };
    WordHashes Hashes(const Item& w, const Key& k) const {
        WordHashes h;
        std::uint64_t hash = kWordHashStart;
        for (std::uint32_t i = 0; i < w.length; ++i) {
            const std::uint8_t plain = k[wordSymbols_[w.offset + i]];
            if (plain >= kGap)
                return {};
            hash = WordHashStep(hash, plain);
            if (IsBeginning(i + 1, w.length))
                h.beginnings[h.count++] = hash;
        }
        h.word = hash;
        return h;
    }
    std::uint64_t WordHash(const Item& w, const Key& k) const { return Hashes(w, k).word; }
    // The hash of the word's last two letters (its one letter, if it has one).
    std::uint64_t Ending(const Item& w, const Key& k) const {
        std::uint64_t hash = kWordHashStart;
        for (std::uint32_t i = w.length - std::min<std::uint32_t>(w.length, 2); i < w.length; ++i)
            hash = WordHashStep(hash, k[wordSymbols_[w.offset + i]]);
        return hash;
    }
    int Pair(const Item& p, const Key& k) const {
        const Item& previous = words_[p.words[0]];
        const Item& next = words_[p.words[1]];
        const std::uint64_t first = WordHash(previous, k);
        if (first == 0)
            return 0;
        const WordHashes second = Hashes(next, k);
        if (second.word == 0)
            return model_.followers.Find(first, 0);
        const int listed = model_.pairs.Find(PairHash(first, second.word), kNoLevel);
        if (listed != kNoLevel)
            return listed;
        const int known = model_.followers.Find(first, kNoLevel);
        const int follows = known == kNoLevel ? 0 : known;
        // Beginnings are listed only after words that begin listed pairs.
        const int begun = known == kNoLevel ? kNoLevel : StemPair(first, second);
        if (previous.length == 1) {
            // The case asked for shows in the ending whatever the word: the two multiply.
            const int last = k[wordSymbols_[next.offset + next.length - 1]];
            const int ending = model_.endings.Find(EndingHash(first, last), follows);
            return begun == kNoLevel ? ending : begun + ending - follows;
        }
        if (begun != kNoLevel)
            return begun;
        return follows +
               model_.suffixes.Find(SuffixPairHash(Ending(previous, k), Ending(next, k)), 0);
    }
    // How much likelier a word begun as the second is after the first word, by the longest of
    // its beginnings listed after it; kNoLevel when none is.
    int StemPair(std::uint64_t first, const WordHashes& second) const {
        for (std::size_t i = second.count; i-- > 0;) {
            const int level =
                model_.stemPairs.Find(PairHash(first, second.beginnings[i]), kNoLevel);
            if (level != kNoLevel)
                return level;
        }
        return kNoLevel;
    }
    int Word(const Item& w, const Key& k) const {
        const WordHashes hashes = Hashes(w, k);
        if (hashes.word == 0)
            return weights_.unknown;  // a gap or no letter inside a word
        if (const WordLevels* found = model_.words.Find(hashes.word)) {
            return weights_.word * found->word - weights_.chain * found->chain;
        }
        const Spelling spelling =
            weights_.typed == 0 && weights_.unlistedForm == 0 ? Spelling{} : Spell(w, k);
        // The stem tables are large and their look-ups miss the cache: only a scorer that tells
        // stems apart pays for them.
        if (weights_.unknownStem == weights_.unknown)
            return weights_.unknown + weights_.typed * spelling.typed;
        int best = kNoLevel;     // the pair of endings' level
        int form = kNoLevel;     // the listed word's level with it
        std::uint16_t tail = 0;  // the ending code of the last three letters
        for (std::uint32_t i = w.length - std::min<std::uint32_t>(w.length, 3); i < w.length; ++i)
            tail = EndingCode(tail, k[wordSymbols_[w.offset + i]]);
        const std::size_t count = hashes.count;
        for (std::size_t i = 0; i < count; ++i) {
            // beginnings[i] leaves out the last count - i letters: the low bits of the tail.
            const auto ending =
                static_cast<std::uint16_t>(tail & ((1u << (kIndexBits * (count - i))) - 1));
            const auto forms = model_.stems.Of(hashes.beginnings[i]);
            for (std::size_t f = 0; f < forms.endings.size(); ++f) {
                const int pair =
                    model_.endingPairs.Find(EndingPairHash(ending, forms.endings[f]), kNoLevel);
                if (pair == kNoLevel)
                    continue;
                best = std::max(best, pair);
                form = std::max(form, forms.levels[f] + pair);
            }
        }
        const int spelled =
            std::max(weights_.unknown, weights_.unknownStem + weights_.stemEnding * best) +
            weights_.typed * spelling.typed;
        if (weights_.unlistedForm == 0 || form == kNoLevel)
            return spelled;
        return std::max(spelled, weights_.word * (form + weights_.unlistedForm) -
                                     weights_.chain * spelling.chain);
    }

    // Below any level a table holds: what a look-up gives for an item it does not hold.
    static constexpr int kNoLevel = -30000;

    struct Spelling {
        int typed = 0;  // the word's level as the rare words and names are spelled, less `chain`
        int chain = 0;  // its level by the text's n-grams
    };
    Spelling Spell(const Item& w, const Key& k) const {
        int typed = 0, name = 0, chain = 0;
        int a = kOutside, b = kOutside, c = kGap;
        for (std::uint32_t i = 0; i <= w.length; ++i) {
            const int d = i < w.length ? k[wordSymbols_[w.offset + i]] : kGap;
            const auto at = static_cast<std::size_t>(QuadgramIndex(a, b, c, d));
            typed += model_.typeConditional[at];
            name += model_.nameConditional[at];
            chain += model_.conditional[at];
            a = b;
            b = c;
            c = d;
        }
        if (weights_.name != 0)
            typed = LevelSum(typed + rest_, name + weights_.name);
        return {typed - chain, chain};
    }

    static void AddItem(std::vector<Item>& items, Lists& itemsOf, Item item,
                        std::span<const std::uint8_t> symbols) {
        for (std::uint8_t s : symbols) {
            if (s < 32)
                item.mask |= 1u << s;
        }
        for (std::size_t c = 0; c < 32; ++c) {
            if (item.mask & (1u << c)) {
                itemsOf[c].push_back(static_cast<std::uint32_t>(items.size()));
            }
        }
        items.push_back(item);
    }

    // Distinct n-grams by sorting their packed codes.
    template <std::size_t N>
    static void CollectNgrams(const std::vector<std::uint8_t>& text, std::vector<Item>& items,
                              Lists& itemsOf) {
        std::vector<std::uint32_t> codes;
        for (std::size_t i = 0; i + N <= text.size(); ++i) {
            std::uint32_t code = 0;
            for (std::size_t j = 0; j < N; ++j)
                code = code << kIndexBits | text[i + j];
            codes.push_back(code);
        }
        std::sort(codes.begin(), codes.end());
        for (std::size_t i = 0; i < codes.size();) {
            std::size_t j = i;
            while (j < codes.size() && codes[j] == codes[i])
                ++j;
            Item item;
            item.count = static_cast<std::int32_t>(j - i);
            item.length = N;
            for (std::size_t k = 0; k < N; ++k) {
                item.symbols[k] = (codes[i] >> (kIndexBits * (N - 1 - k))) & 31;
            }
            AddItem(items, itemsOf, item, std::span(item.symbols.data(), N));
            i = j;
        }
    }

    // The distinct runs of symbols between gaps and, when the weights ask for them, the distinct
    // pairs of neighbouring runs.
    void CollectWords(const std::vector<std::uint8_t>& text, int gapCipher) {
        std::map<std::string, std::int32_t> counts;
        std::vector<std::string> order;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != gapCipher && text[i] != kBoundary)
                continue;
            if (i > start) {
                order.emplace_back(text.begin() + start, text.begin() + i);
                ++counts[order.back()];
            }
            start = i + 1;
        }
        std::map<std::string, std::uint32_t> itemOf;
        for (const auto& [symbols, count] : counts) {
            itemOf[symbols] = static_cast<std::uint32_t>(words_.size());
            Item item;
            item.count = count;
            item.offset = static_cast<std::uint32_t>(wordSymbols_.size());
            item.length = static_cast<std::uint32_t>(symbols.size());
            wordSymbols_.insert(wordSymbols_.end(), symbols.begin(), symbols.end());
            AddItem(words_, wordsOf_, item,
                    std::span(wordSymbols_.data() + item.offset, item.length));
        }
        if (weights_.pair == 0)
            return;
        std::map<std::array<std::uint32_t, 2>, std::int32_t> pairCounts;
        for (std::size_t i = 1; i < order.size(); ++i)
            ++pairCounts[{itemOf[order[i - 1]], itemOf[order[i]]}];
        for (const auto& [words, count] : pairCounts) {
            Item item;
            item.count = count;
            item.words = words;
            item.mask = words_[words[0]].mask | words_[words[1]].mask;
            AddItem(pairs_, pairsOf_, item, {});
        }
    }

    struct Pending {
        int list;
        std::uint32_t item;
        int level;
    };

    // The level of one less the share at `level`.
    static int RestLevel(int level) {
        return static_cast<int>(std::lround(20.0 * std::log10(1.0 - std::pow(10.0, level / 20.0))));
    }

    const LanguageModel& model_;
    Weights weights_;
    int rest_;  // the level of the share of unlisted words spelled as rare words
    std::array<std::vector<int>, 4> levels_;  // quadgrams, trigrams, words, pairs under the key
    std::vector<Pending> pending_;
    std::vector<Item> quadgrams_, trigrams_, words_, pairs_;
    std::vector<std::uint8_t> wordSymbols_;
    Lists quadgramsOf_, trigramsOf_, wordsOf_, pairsOf_;
};

// Without gaps the judge asks how well the text splits into listed words: the best split's sum of
// the words' own levels, each letter no listed word covers costing kUncovered. A rare letter read
// wrong breaks the word it stands in (НАКОНЕЗ for НАКОНЕЦ), which the n-grams of the letters
// around it barely notice.
constexpr int kUncovered = -100;  // five decimal orders: well below any listed word's share
constexpr std::size_t kLongestWord = 20;
class Segmenter {
public:
    explicit Segmenter(const std::vector<std::uint8_t>& text)
        : text_(text), words_(WithGapModel().words), best_(text.size() + 1) {}

    long long Score(const Key& key) {
        const std::size_t n = text_.size();
        std::fill(best_.begin(), best_.end(), std::numeric_limits<long long>::min() / 2);
        best_[0] = 0;
        for (std::size_t s = 0; s < n; ++s) {
            if (s > 0)
                best_[s] = std::max(best_[s], best_[s - 1] + kUncovered);
            std::uint64_t hash = kWordHashStart;
            const std::size_t last = std::min(n, s + kLongestWord);
            for (std::size_t e = s + 1; e <= last; ++e) {
                hash = WordHashStep(hash, key[text_[e - 1]]);
                if (const WordLevels* found = words_.Find(hash))
                    best_[e] = std::max(best_[e], best_[s] + found->word);
            }
        }
        return std::max(best_[n], n > 0 ? best_[n - 1] + kUncovered : 0);
    }

private:
    const std::vector<std::uint8_t>& text_;
    const WordScores& words_;
    std::vector<long long> best_;  // the best split of the first i letters
};

int PlainIndex(char byte) {
    const int column = SymbolColumn(byte);
    return IsCipherColumn(column) ? column - 1 : -1;
}

// Everything the search needs to know about one cryptogram and the user's key.
struct Problem {
    std::vector<std::uint8_t> text;  // cipher indices, framed by kBoundary when with gaps
    std::array<int, kSymbols> counts{};
    std::array<int, kSymbols> fixed{};  // plaintext index, or -1 where the search decides
    std::vector<std::uint8_t> free;     // cipher indices without a fixed entry
    std::vector<std::uint8_t> movable;  // those of them that occur in the text
    std::vector<std::uint8_t> pool;     // plaintext indices to share among `free`
    bool withGaps = false;
    int gapCipher = -1;  // the cipher index fixed to the gap, for words
};

Problem MakeProblem(std::string_view cipherText, const KeyColumns& key) {
    Problem p;
    std::vector<std::uint8_t> letters;
    letters.reserve(cipherText.size());
    for (char c : cipherText) {
        const int index = PlainIndex(c);
        if (index < 0)
            continue;
        letters.push_back(static_cast<std::uint8_t>(index));
        ++p.counts[static_cast<std::size_t>(index)];
    }

    std::array<bool, kSymbols> used{};
    for (std::size_t c = 0; c < kSymbols; ++c) {
        p.fixed[c] = PlainIndex(key[c]);
        if (p.fixed[c] >= 0)
            used[static_cast<std::size_t>(p.fixed[c])] = true;
    }
    if (p.fixed[kGap] < 0 && !used[kGap]) {
        p.fixed[kGap] = kGap;
        used[kGap] = true;
    }
    for (std::uint8_t c = 0; c < kSymbols; ++c) {
        if (p.fixed[c] >= 0)
            continue;
        p.free.push_back(c);
        if (p.counts[c] > 0)
            p.movable.push_back(c);
    }
    // Frequent plaintext symbols first: the first start gives them to frequent cipher symbols.
    for (const char* s = kSymbolsByFrequency; *s; ++s) {
        const auto plain = static_cast<std::uint8_t>(*s - 0x60);
        if (!used[plain])
            p.pool.push_back(plain);
    }
    // Each fixed entry uses up at most one symbol, so the pool always covers the free entries.
    ZAM_ASSERT(p.pool.size() >= p.free.size());

    for (int c = 0; c < kSymbols; ++c) {
        const auto i = static_cast<std::size_t>(c);
        if (p.fixed[i] == kGap && p.counts[i] > 0)
            p.gapCipher = c;
    }
    // When the user gave the gap's cipher symbol a letter, any free symbol may be the gap.
    p.withGaps = p.gapCipher >= 0 || !used[kGap];
    if (p.withGaps)
        p.text.push_back(kBoundary);
    p.text.insert(p.text.end(), letters.begin(), letters.end());
    if (p.withGaps)
        p.text.push_back(kBoundary);
    return p;
}

struct SearchResult {
    Key key{};
    int restarts = 0;
    bool agreed = false;
    // The distinct keys the judge ranked, with its scores, best first.
    std::vector<std::pair<long long, Key>> ranked;
};

const LanguageModel& Model(const Problem& p) {
    return p.withGaps ? WithGapModel() : LettersOnlyModel();
}

class Search {
public:
    Search(const Problem& p, const SolveOptions& options)
        : p_(p),
          scorer_(Model(p), p.text, p.gapCipher, kSearchWeights),
          // Without gaps there are no words to judge by.
          judge_(Model(p), p.text, p.gapCipher, p.withGaps ? kJudgeWeights : kSearchWeights),
          random_(options.seed),
          deadline_(Clock::now() + std::chrono::milliseconds(Leaving(options.budgetMs, 16, 50))),
          end_(Clock::now() + std::chrono::milliseconds(Leaving(options.budgetMs, 64, 12))) {
        for (std::size_t c = 0; c < kSymbols; ++c) {
            if (p.fixed[c] >= 0)
                base_[c] = static_cast<std::uint8_t>(p.fixed[c]);
        }
        base_[kBoundary] = kGap;
        base_[kBefore] = kOutside;
        const auto items = static_cast<int>(std::max<std::size_t>(1, scorer_.ItemCount()));
        steps_ = p.text.size() > kAnnealedLength
                     ? 0
                     : std::clamp(kAnnealWork / items, kMinSteps, kMaxSteps);
        if (!p.withGaps) {
            gaplessRestarts_ = std::max(
                kGaplessMinRestarts, static_cast<int>(p.text.size() / kGaplessLettersPerRestart));
        }
    }

    // The budget less a `part`-th of it, at most `most` milliseconds. The restarts stop when a
    // sixteenth is left: the judge's climbs and kicks from the finalists are needed most when the
    // restarts never agree. The judge stops when a sixty-fourth is left, for the step under way
    // when the time is up.
    static int Leaving(int budgetMs, int part, int most) {
        const int budget = std::max(0, budgetMs);
        return budget - std::min(budget / part, most);
    }

    SearchResult Run(const SolveOptions& options) {
        SearchResult result;
        result.key = Start(0);
        if (p_.movable.empty())
            return result;
        // The best distinct keys the climbs reached, best first, for the judge.
        std::vector<std::pair<long long, Key>> finalists;
        int agreeing = 0;
        int bestAt = 0;  // the restart that first reached the best score
        while (true) {
            Key key = Start(result.restarts++);
            Anneal(key);
            Climb(key, scorer_);
            const long long score = scorer_.Score(key);
            if (finalists.empty() || score > finalists.front().first) {
                agreeing = 1;
                bestAt = result.restarts;
            } else if (score == finalists.front().first) {
                ++agreeing;
            }
            Admit(finalists, score, key);
            if (agreeing >= options.agreeingRestarts) {
                result.agreed = true;
                break;
            }
            if (options.maxRestarts > 0 && result.restarts >= options.maxRestarts)
                break;
            if (result.restarts >= gaplessRestarts_ &&
                result.restarts - bestAt >= gaplessRestarts_ / 2) {
                break;
            }
            if (Clock::now() >= deadline_)
                break;
        }
        if (result.agreed && p_.text.size() <= kKickedLength) {
            Key best = finalists.front().second;
            const long long score = Kick(best, finalists.front().first, scorer_, kKicks);
            if (score > finalists.front().first)
                Admit(finalists, score, best);
        }
        result.key = finalists.front().second;
        deadline_ = end_;
        if (!p_.withGaps) {
            Segmenter segmenter(p_.text);
            long long bestJudged = 0;
            for (std::size_t i = 0; i < finalists.size(); ++i) {
                Key key = finalists[i].second;
                const long long judged = ClimbBySegments(key, segmenter);
                if (i == 0 || judged > bestJudged) {
                    result.key = key;
                    bestJudged = judged;
                }
                Admit(result.ranked, judged, key);
            }
            return result;
        }
        long long bestJudged = 0;
        for (std::size_t i = 0; i < finalists.size(); ++i) {
            Key key = finalists[i].second;
            Climb(key, judge_, kRareCount);
            const long long judged = judge_.Score(key);
            if (i == 0 || judged > bestJudged) {
                result.key = key;
                bestJudged = judged;
            }
            Admit(result.ranked, judged, key);
        }
        if (p_.text.size() <= kKickedLength) {
            if (const std::uint32_t unlisted = judge_.UnlistedLetters(result.key)) {
                Key best = result.key;
                const long long score = Kick(best, bestJudged, judge_, kJudgeKicks, unlisted);
                if (score > bestJudged) {
                    result.key = best;
                    Admit(result.ranked, score, best);
                }
            }
        }
        return result;
    }

private:
    // The first start follows letter frequencies; the others are random.
    Key Start(int restart) {
        Key key = base_;
        std::vector<std::uint8_t> order = p_.free;
        std::vector<std::uint8_t> pool = p_.pool;
        if (restart == 0) {
            std::stable_sort(order.begin(), order.end(), [this](std::uint8_t a, std::uint8_t b) {
                return p_.counts[a] > p_.counts[b];
            });
        } else {
            for (std::size_t i = pool.size(); i > 1; --i) {
                std::swap(pool[i - 1], pool[static_cast<std::size_t>(random_.Below(i))]);
            }
        }
        for (std::size_t i = 0; i < order.size(); ++i)
            key[order[i]] = pool[i];
        return key;
    }

    // Keeps the kFinalists best distinct keys; among equal scores the earlier one stays first.
    static void Admit(std::vector<std::pair<long long, Key>>& finalists, long long score,
                      const Key& key) {
        for (const auto& [s, k] : finalists) {
            if (k == key)
                return;
        }
        auto at = finalists.begin();
        while (at != finalists.end() && at->first >= score)
            ++at;
        finalists.insert(at, {score, key});
        if (finalists.size() > kFinalists)
            finalists.pop_back();
    }

    struct Move {
        long long delta;
        std::uint8_t x, y;
    };

    static bool Swappable(const Key& key, std::uint8_t x, std::uint8_t y) {
        return x != y && key[x] != key[y];
    }

    void Anneal(Key& key) {
        if (p_.free.size() < 2)
            return;
        scorer_.Reset(key);
        for (int step = 0; step < steps_; ++step) {
            if ((step & 1023) == 0 && Clock::now() >= deadline_)
                return;
            const std::uint8_t x =
                p_.movable[static_cast<std::size_t>(random_.Below(p_.movable.size()))];
            const std::uint8_t y = p_.free[static_cast<std::size_t>(random_.Below(p_.free.size()))];
            if (!Swappable(key, x, y))
                continue;
            const long long delta = scorer_.SwapDelta(key, x, y);
            const double temperature = kStartTemperature * (steps_ - step) / steps_;
            if (delta >= 0 || random_.Unit() < std::exp(static_cast<double>(delta) / temperature)) {
                std::swap(key[x], key[y]);
                scorer_.Accept();
            }
        }
    }

    // Whether a climb by the symbols at most maxCount times in the text (0: all) and in `only`
    // tries trading x and y: a pair of two symbols it climbs by is tried once, from the lower.
    bool Tried(const Key& key, std::uint8_t x, std::uint8_t y, int maxCount,
               std::uint32_t only = ~0u) const {
        const bool triedFromY = (maxCount == 0 || p_.counts[y] <= maxCount) && (only >> y & 1);
        return Swappable(key, x, y) && !(p_.counts[y] > 0 && y < x && triedFromY);
    }

    // Takes every improving swap until none is left, or the time is up. Returns the gain. Climbs
    // only by the cipher indices of `only`.
    long long Climb(Key& key, Scorer& scorer, int maxCount = 0, std::uint32_t only = ~0u) const {
        scorer.Reset(key);
        long long gain = 0;
        for (bool improved = true; improved;) {
            improved = false;
            for (std::uint8_t x : p_.movable) {
                if ((maxCount > 0 && p_.counts[x] > maxCount) || !(only >> x & 1))
                    continue;
                if (Clock::now() >= deadline_)
                    return gain;
                for (std::uint8_t y : p_.free) {
                    if (!Tried(key, x, y, maxCount, only))
                        continue;
                    if (const long long delta = scorer.SwapDelta(key, x, y); delta > 0) {
                        std::swap(key[x], key[y]);
                        scorer.Accept();
                        gain += delta;
                        improved = true;
                    }
                }
            }
        }
        return gain;
    }

    long long SegmentsJudged(const Key& key, Segmenter& segmenter) const {
        return scorer_.Score(key) + kSegmentWeight * segmenter.Score(key);
    }

    // Takes every swap the split into words finds better, of those the n-grams find not much
    // worse, until none is left. Returns the key's judged score.
    long long ClimbBySegments(Key& key, Segmenter& segmenter) {
        long long current = SegmentsJudged(key, segmenter);
        scorer_.Reset(key);
        for (bool improved = true; improved;) {
            improved = false;
            for (std::uint8_t x : p_.movable) {
                if (Clock::now() >= deadline_)
                    return current;
                for (std::uint8_t y : p_.free) {
                    if (!Tried(key, x, y, 0) || scorer_.SwapDelta(key, x, y) < -kSegmentReach)
                        continue;
                    Key trial = key;
                    std::swap(trial[x], trial[y]);
                    if (const long long judged = SegmentsJudged(trial, segmenter);
                        judged > current) {
                        key = trial;
                        current = judged;
                        scorer_.Accept();
                        improved = true;
                    }
                }
            }
        }
        return current;
    }

    // Restarts that agree have often agreed on a deep hollow two or three letters away from a
    // better key (ЛУЮЩЕ for ЛУЧШЕ): one swap leads nowhere, but a climb after the right one does.
    // Tries the swaps `scorer` finds least harmful, each followed by a climb, and moves to the
    // first that ends better, until none does; swaps and climbs only by the cipher indices of
    // `only`. Returns the key's score, `score` on entry.
    long long Kick(Key& key, long long score, Scorer& scorer, std::size_t kicks,
                   std::uint32_t only = ~0u) {
        std::vector<Move> moves;
        for (bool improved = true; improved;) {
            improved = false;
            scorer.Reset(key);
            moves.clear();
            for (std::uint8_t x : p_.movable) {
                for (std::uint8_t y : p_.free) {
                    if ((only >> x & 1) && Tried(key, x, y, 0, only))
                        moves.push_back({scorer.SwapDelta(key, x, y), x, y});
                }
            }
            const auto kept = std::min(moves.size(), kicks);
            std::partial_sort(moves.begin(), moves.begin() + static_cast<std::ptrdiff_t>(kept),
                              moves.end(), [](const Move& a, const Move& b) {
                                  return std::tie(b.delta, a.x, a.y) < std::tie(a.delta, b.x, b.y);
                              });
            for (std::size_t i = 0; i < kept && !improved; ++i) {
                if (Clock::now() >= deadline_)
                    return score;
                Key trial = key;
                std::swap(trial[moves[i].x], trial[moves[i].y]);
                const long long gain = moves[i].delta + Climb(trial, scorer, 0, only);
                if (gain > 0) {
                    key = trial;
                    score += gain;
                    improved = true;
                }
            }
        }
        return score;
    }

public:
    long long ScoreOf(const Key& key) const {
        if (p_.withGaps)
            return judge_.Score(key);
        Segmenter segmenter(p_.text);
        return SegmentsJudged(key, segmenter);
    }
    Key Base() const { return base_; }

private:
    const Problem& p_;
    Scorer scorer_;
    Scorer judge_;
    Random random_;
    Clock::time_point deadline_;  // the restarts', then the judge's
    Clock::time_point end_;
    Key base_{};
    int steps_ = 0;
    int gaplessRestarts_ = std::numeric_limits<int>::max();
};

}  // namespace

SolveReport Solve(std::string_view cipherText, const KeyColumns& key, const SolveOptions& options) {
    const Problem problem = MakeProblem(cipherText, key);
    const SearchResult found = Search(problem, options).Run(options);
    SolveReport report;
    report.key = key;
    report.restarts = found.restarts;
    report.agreed = found.agreed;
    for (std::size_t c = 0; c < kSymbols; ++c) {
        if (PlainIndex(key[c]) < 0) {
            report.key[c] = ColumnSymbol(found.key[c] + 1);
        }
    }
    return report;
}

long long ScoreKey(std::string_view cipherText, const KeyColumns& key) {
    const Problem problem = MakeProblem(cipherText, key);
    const Search search(problem, SolveOptions());
    return search.ScoreOf(search.Base());
}

namespace {

// A judge's score this much higher is clearly better: a thousand times likelier.
constexpr long long kClearlyBetter = 3 * 20 * kJudgeScale;

KeyColumns Columns(const KeyColumns& user, const Key& key) {
    KeyColumns out = user;
    for (std::size_t c = 0; c < kSymbols; ++c) {
        if (PlainIndex(user[c]) < 0)
            out[c] = ColumnSymbol(key[c] + 1);
    }
    return out;
}

}  // namespace

std::optional<HintLetter> SuggestHint(std::string_view cipherText, const KeyColumns& key,
                                      std::uint64_t seed, int budgetMs) {
    const Problem problem = MakeProblem(cipherText, key);
    bool open = false;
    for (std::size_t c = 0; c < kSymbols; ++c)
        open = open || (PlainIndex(key[c]) < 0 && problem.counts[c] > 0);
    if (!open)
        return std::nullopt;
    // Two searches from different seeds, each with half the time: a letter read one way by every
    // key near the best of either is one the text settles.
    std::vector<std::pair<long long, Key>> best;
    for (std::uint64_t s : {seed, seed + 0x5A17}) {
        SolveOptions options;
        options.seed = s;
        options.budgetMs = std::max(1, budgetMs / 2);
        Search search(problem, options);
        SearchResult found = search.Run(options);
        if (found.ranked.empty())  // nothing to move: the key is the only one
            found.ranked.emplace_back(0, found.key);
        best.insert(best.end(), found.ranked.begin(), found.ranked.end());
    }
    const long long top = std::max_element(best.begin(), best.end())->first;
    std::erase_if(best, [&](const auto& ranked) { return ranked.first < top - kClearlyBetter; });
    const Key& first = std::max_element(best.begin(), best.end())->second;
    std::optional<HintLetter> hint;
    std::tuple<bool, bool, int> hintRank;
    for (std::uint8_t c = 0; c < kSymbols; ++c) {
        if (PlainIndex(key[c]) >= 0 || problem.counts[c] == 0)
            continue;
        const bool agreed = std::all_of(best.begin(), best.end(), [&](const auto& ranked) {
            return ranked.second[c] == first[c];
        });
        // A letter before the gap the search takes for granted, which tells the user nothing;
        // then agreement, then how often the letter occurs.
        const auto rank = std::tuple(problem.fixed[c] < 0, agreed, problem.counts[c]);
        if (!hint || rank > hintRank) {
            hint = HintLetter{c + 1, ColumnSymbol(first[c] + 1), agreed};
            hintRank = rank;
        }
    }
    return hint;
}

KeyCheck CheckKey(std::string_view cipherText, const KeyColumns& key, std::uint64_t seed,
                  int budgetMs) {
    KeyCheck check;
    KeyColumns none;
    none.fill(kNoLetter);
    const Problem free = MakeProblem(cipherText, none);
    if (free.movable.empty())
        return check;
    SolveOptions options;
    options.seed = seed;
    options.budgetMs = std::max(1, budgetMs / 2);
    const KeyColumns freeKey = Columns(none, Search(free, options).Run(options).key);
    const Problem kept = MakeProblem(cipherText, key);
    const KeyColumns keptKey = Columns(key, Search(kept, options).Run(options).key);
    // Both keys judged on the same terms: those of the text with no letter fixed.
    const Search judge(free, options);
    const auto score = [&](const KeyColumns& columns) {
        Key k = judge.Base();
        for (std::size_t c = 0; c < kSymbols; ++c)
            k[c] = static_cast<std::uint8_t>(PlainIndex(columns[c]));
        return judge.ScoreOf(k);
    };
    check.freeScore = score(freeKey);
    check.keptScore = score(keptKey);
    if (check.freeScore < check.keptScore + kClearlyBetter)
        return check;
    for (std::size_t c = 0; c < kSymbols; ++c) {
        if (PlainIndex(key[c]) >= 0 && free.counts[c] > 0 && key[c] != freeKey[c]) {
            check.disagreements.push_back({static_cast<int>(c) + 1, key[c], freeKey[c]});
        }
    }
    return check;
}

}  // namespace solver

void ReleaseSolverTables() {
    solver::ReleaseModels();
}

KeyColumns SuggestKey(std::string_view cipherText, const KeyColumns& key, std::uint64_t seed,
                      int budgetMs) {
    solver::SolveOptions options;
    options.seed = seed;
    options.budgetMs = budgetMs;
    return solver::Solve(cipherText, key, options).key;
}

}  // namespace zam
