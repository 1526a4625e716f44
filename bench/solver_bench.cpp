// Measures key suggestion on the development excerpts: each excerpt is encrypted with a seeded
// random key (the gap kept as the gap), solved from an empty key, and compared letter by letter;
// then the same with every gap removed. Beside each figure stands a plain quadgram hill climber
// with 100 restarts, scored from the raw count files, as a reference.
// Each failure is also put down to the model (the judge scores the true key no higher than the
// one found) or to the search (it scores the true key higher): the ceiling a better search
// could reach.
// Run: build/release/solver_bench [data folder] [--texts N] [--subset K/M] [--lengths 50,100]
//      [--no-reference] [--no-gapless] [--verbose] [--key-seed N] [--key-sets N]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <numeric>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "solver/key_solver.h"
#include "toolkit/encoding.h"

using namespace zam;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kLetters = 30;
constexpr int kGapIndex = 30;
bool verbose = false;
// Texts t with t % subsetOf == subset, so that weights can be chosen on one part and checked on
// another.
size_t subset = 0, subsetOf = 1;
// Another set of encryption keys for the same texts, to see how much a figure owes to the keys.
unsigned long long keySeed = 0;
// With more than one, each length is measured with key seeds keySeed, keySeed + 1 ... and the
// first set's line is followed by the figures over all of them.
int keySets = 1;

std::optional<std::string> ReadUtf8File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::stringstream bytes;
    bytes << in.rdbuf();
    return Utf8To1251(bytes.str());
}

// Excerpts of a development file, as 1251 text with "_" gaps.
std::vector<std::string> ReadExcerpts(const std::string& path) {
    std::vector<std::string> texts;
    const auto text = ReadUtf8File(path);
    if (!text)
        return texts;
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t tab = line.rfind('\t');
        std::string excerpt = line.substr(tab + 1);
        while (!excerpt.empty() && excerpt.back() == '\r')
            excerpt.pop_back();
        texts.push_back(excerpt);
    }
    return texts;
}

int Index(char c) {
    return SymbolColumn(c) - 1;
}

// The plain quadgram hill climber the solver is measured against: log10 of count over total,
// unseen quadgrams at log10(0.01 / total), 100 restarts (the first from frequency order), all
// swaps of two cipher letters, improving swaps kept until a pass finds none.
class Reference {
public:
    bool Load(const std::string& folder, bool withGaps) {
        const std::string suffix = withGaps ? "with_gap.tsv" : "letters_only.tsv";
        const auto quads = ReadUtf8File(folder + "/ru_4grams_" + suffix);
        const auto singles = ReadUtf8File(folder + "/ru_1grams_" + suffix);
        if (!quads || !singles)
            return false;
        std::istringstream lines(*quads);
        std::string line;
        std::getline(lines, line);
        const double total = std::stod(line.substr(line.find("total=") + 6));
        table_.assign(1 << 20, static_cast<float>(std::log10(0.01 / total)));
        while (std::getline(lines, line)) {
            const size_t tab = line.find('\t');
            int code = 0;
            for (size_t i = 0; i < 4; ++i)
                code = code << 5 | Index(line[i]);
            table_[static_cast<size_t>(code)] =
                static_cast<float>(std::log10(std::stod(line.substr(tab + 1)) / total));
        }
        std::istringstream ones(*singles);
        std::getline(ones, line);
        order_.clear();
        while (std::getline(ones, line)) {
            if (Index(line[0]) < kLetters)
                order_.push_back(Index(line[0]));
        }
        withGaps_ = withGaps;
        return true;
    }

    // Plaintext index per cipher index (0-30).
    std::vector<int> Solve(const std::vector<int>& cipher, std::uint64_t seed) const {
        std::vector<int> text;
        if (withGaps_)
            text.push_back(kGapIndex);
        text.insert(text.end(), cipher.begin(), cipher.end());
        if (withGaps_)
            text.push_back(kGapIndex);
        std::vector<int> codes;
        for (size_t i = 0; i + 4 <= text.size(); ++i) {
            codes.push_back(text[i] << 15 | text[i + 1] << 10 | text[i + 2] << 5 | text[i + 3]);
        }
        std::sort(codes.begin(), codes.end());
        std::vector<std::pair<int, int>> grams;  // code, count
        for (int code : codes) {
            if (!grams.empty() && grams.back().first == code) {
                ++grams.back().second;
            } else {
                grams.emplace_back(code, 1);
            }
        }
        const auto score = [&](const std::vector<int>& key) {
            float sum = 0;
            for (const auto& [code, count] : grams) {
                const int k = key[code >> 15] << 15 | key[code >> 10 & 31] << 10 |
                              key[code >> 5 & 31] << 5 | key[code & 31];
                sum += static_cast<float>(count) * table_[static_cast<size_t>(k)];
            }
            return sum;
        };

        std::vector<int> counts(kLetters, 0);
        for (int c : cipher) {
            if (c < kLetters)
                ++counts[static_cast<size_t>(c)];
        }
        std::vector<int> byCount(kLetters);
        std::iota(byCount.begin(), byCount.end(), 0);
        std::stable_sort(byCount.begin(), byCount.end(),
                         [&](int a, int b) { return counts[size_t(a)] > counts[size_t(b)]; });
        std::mt19937_64 random(seed);
        std::vector<int> best;
        float bestScore = -1e30f;
        for (int restart = 0; restart < 100; ++restart) {
            std::vector<int> key(32, kGapIndex);
            if (restart == 0) {
                for (int i = 0; i < kLetters; ++i)
                    key[size_t(byCount[size_t(i)])] = order_[size_t(i)];
            } else {
                std::vector<int> letters(order_);
                std::shuffle(letters.begin(), letters.end(), random);
                for (int i = 0; i < kLetters; ++i)
                    key[size_t(i)] = letters[size_t(i)];
            }
            float current = score(key);
            for (bool improved = true; improved;) {
                improved = false;
                for (int a = 0; a < kLetters; ++a) {
                    for (int b = a + 1; b < kLetters; ++b) {
                        std::swap(key[size_t(a)], key[size_t(b)]);
                        const float s = score(key);
                        if (s > current) {
                            current = s;
                            improved = true;
                        } else {
                            std::swap(key[size_t(a)], key[size_t(b)]);
                        }
                    }
                }
            }
            if (current > bestScore) {
                bestScore = current;
                best = key;
            }
        }
        return best;
    }

private:
    std::vector<float> table_;
    std::vector<int> order_;
    bool withGaps_ = true;
};

struct Figures {
    int solved = 0;
    int modelFailures = 0;  // the judge prefers the found key (or ties)
    int searchFailures = 0;
    double accuracySum = 0;
    std::vector<double> times;

    void Merge(const Figures& other) {
        solved += other.solved;
        modelFailures += other.modelFailures;
        searchFailures += other.searchFailures;
        accuracySum += other.accuracySum;
        times.insert(times.end(), other.times.begin(), other.times.end());
    }

    void Add(const std::string& plain, const std::string& found, double ms) {
        int letters = 0, right = 0;
        for (size_t i = 0; i < plain.size(); ++i) {
            if (plain[i] == '_')
                continue;
            ++letters;
            right += found[i] == plain[i];
        }
        solved += right == letters;
        accuracySum += letters ? static_cast<double>(right) / letters : 1.0;
        times.push_back(ms);
    }
    std::string Line(bool ceiling = false) const {
        if (times.empty())
            return "            -";
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        char text[128];
        int at = std::snprintf(text, sizeof text, "%5.1f%% %7.2f%% %8.1f %8.1f",
                               100.0 * solved / static_cast<double>(times.size()),
                               100.0 * accuracySum / static_cast<double>(times.size()),
                               sorted[sorted.size() / 2], sorted.back());
        if (ceiling) {
            std::snprintf(text + at, sizeof text - static_cast<size_t>(at), " %6d %6d",
                          modelFailures, searchFailures);
        }
        return text;
    }
};

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

struct Measured {
    Figures mine, theirs;
    size_t texts = 0;
};

Measured MeasureKeys(const std::vector<std::string>& texts, int length, bool withGaps,
                     unsigned long long keys, const Reference* reference) {
    Figures mine, theirs;
    size_t measured = 0;
    for (size_t t = 0; t < texts.size(); ++t) {
        if (t % subsetOf != subset)
            continue;
        ++measured;
        std::string plain = texts[t];
        if (!withGaps)
            std::erase(plain, '_');
        std::mt19937_64 random(1000003ull * static_cast<unsigned>(length) + t + 7777ull * keys);
        std::vector<int> encrypt(31);
        std::iota(encrypt.begin(), encrypt.end(), 0);
        std::shuffle(encrypt.begin(), encrypt.begin() + kLetters, random);
        std::string cipher;
        std::vector<int> cipherIndices;
        for (char c : plain) {
            const int e = encrypt[size_t(Index(c))];
            cipher += ColumnSymbol(e + 1);
            cipherIndices.push_back(e);
        }

        KeyColumns empty;
        empty.fill(' ');
        auto start = Clock::now();
        solver::SolveOptions options;
        options.seed = t + 1;
        options.budgetMs = 700;
        const solver::SolveReport report = solver::Solve(cipher, empty, options);
        const KeyColumns& key = report.key;
        double ms = Milliseconds(start);
        std::string found;
        for (char c : cipher)
            found += key[size_t(Index(c))];
        mine.Add(plain, found, ms);
        if (found != plain) {
            KeyColumns truth = empty;
            for (int c = 0; c < 31; ++c)
                truth[size_t(encrypt[size_t(c)])] = ColumnSymbol(c + 1);
            const long long trueScore = solver::ScoreKey(cipher, truth);
            const long long foundScore = solver::ScoreKey(cipher, key);
            ++(trueScore > foundScore ? mine.searchFailures : mine.modelFailures);
            if (verbose) {
                std::printf(
                    "  text %zu, seed %zu, keys %llu: %s\n  %s\n  %s\n  true %lld found %lld, %d "
                    "restarts%s, %.0f ms\n",
                    t, t + 1, keys, Cp1251ToUtf8(cipher).c_str(), Cp1251ToUtf8(plain).c_str(),
                    Cp1251ToUtf8(found).c_str(), trueScore, foundScore, report.restarts,
                    report.agreed ? " agreed" : "", ms);
            }
        }

        if (reference) {
            start = Clock::now();
            const std::vector<int> refKey = reference->Solve(cipherIndices, t + 1);
            ms = Milliseconds(start);
            found.clear();
            for (int c : cipherIndices)
                found += ColumnSymbol(refKey[size_t(c)] + 1);
            theirs.Add(plain, found, ms);
        }
    }
    return {mine, theirs, measured};
}

void Measure(const std::string& folder, int length, bool withGaps, size_t maxTexts,
             const Reference* reference) {
    std::vector<std::string> texts =
        ReadExcerpts(folder + "/dev/dev_L" + std::to_string(length) + ".txt");
    if (texts.size() > maxTexts)
        texts.resize(maxTexts);
    Measured all;
    for (int set = 0; set < keySets; ++set) {
        const Measured one =
            MeasureKeys(texts, length, withGaps, keySeed + static_cast<unsigned>(set), reference);
        if (set == 0 || keySets > 1) {
            std::printf("%5d %5zu   %s   %s\n", length, one.texts, one.mine.Line(true).c_str(),
                        one.theirs.Line().c_str());
        }
        all.mine.Merge(one.mine);
        all.theirs.Merge(one.theirs);
        all.texts += one.texts;
    }
    if (keySets > 1) {
        std::printf(" mean %5zu   %s   %s\n", all.texts, all.mine.Line(true).c_str(),
                    all.theirs.Line().c_str());
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = "../shared/data/russian";
    size_t maxTexts = 100;
    std::vector<int> lengths = {50, 75, 100, 150, 300};
    bool withReference = true, gapless = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--texts" && i + 1 < argc) {
            maxTexts = std::stoul(argv[++i]);
        } else if (arg == "--lengths" && i + 1 < argc) {
            lengths.clear();
            std::istringstream list(argv[++i]);
            for (std::string item; std::getline(list, item, ',');)
                lengths.push_back(std::stoi(item));
        } else if (arg == "--subset" && i + 1 < argc) {
            const std::string share = argv[++i];  // K/M: every M-th text from the K-th
            subset = std::stoul(share);
            subsetOf = std::max<size_t>(1, std::stoul(share.substr(share.find('/') + 1)));
            subset %= subsetOf;
        } else if (arg == "--key-seed" && i + 1 < argc) {
            keySeed = std::stoull(argv[++i]);
        } else if (arg == "--key-sets" && i + 1 < argc) {
            keySets = std::max(1, std::stoi(argv[++i]));
        } else if (arg == "--no-reference") {
            withReference = false;
        } else if (arg == "--verbose") {
            verbose = true;
        } else if (arg == "--no-gapless") {
            gapless = false;
        } else {
            folder = arg;
        }
    }
    for (bool withGaps : {true, false}) {
        if (!withGaps && !gapless)
            break;
        Reference reference;
        if (withReference && !reference.Load(folder, withGaps)) {
            std::fprintf(stderr, "cannot read the count files in %s\n", folder.c_str());
            return 1;
        }
        std::printf("\n%s\n", withGaps ? "With word gaps" : "Gaps removed");
        std::printf("%5s %5s   %-47s   %-33s\n", "L", "texts", "solver", "reference");
        std::printf("%5s %5s   %6s %8s %8s %8s %6s %6s   %6s %8s %8s %8s\n", "", "", "solved",
                    "letters", "med ms", "max ms", "model", "search", "solved", "letters", "med ms",
                    "max ms");
        for (int length : lengths) {
            Measure(folder, length, withGaps, maxTexts, withReference ? &reference : nullptr);
        }
    }
    return 0;
}
