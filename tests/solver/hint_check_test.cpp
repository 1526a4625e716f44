#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sample_text.h"

namespace zam::solver {
namespace {

// The searches end when restarts agree: a budget that could cut them short on a busy machine
// would make the outcome depend on the time.
constexpr int kBudgetMs = 60000;

// Excerpts of held-out authors, as a user would type them in.
const char* const kTexts[] = {
    "УДАРАМИ_В_ДВЕРЬ_КТО_ТАМ_СПРОСИЛ_ГРОБОВЩИК_ДВЕРЬ_ОТВОРИЛАСЬ_И_ЧЕЛОВЕК_В_КОТОРОМ_С_ПЕРВОГО_"
    "ВЗГЛЯДУ_МОЖНО_БЫЛО_УЗНАТЬ_ОТСТАВНОГО_СОЛДАТА",
    testing::kSampleText,
};

using testing::Cryptogram;
using testing::EmptyKey;
using testing::Encrypt;

TEST(HintAndCheck, HintIsARightLetterTheKeyLeftOpen) {
    struct Case {
        const char* assigned;  // plaintext letters the user has right
        const char* wrong;  // a cipher column's wrong entry: its plaintext letter, then the entry
        bool gapless;
    };
    const Case cases[] = {
        {"", "", false},
        {"_О", "ЕЮ", false},  // a wrong entry is never the hint's column
        {"ОЕА", "", true},
    };
    int text = 0;
    for (const char* plain : kTexts) {
        for (const Case& c : cases) {
            std::string p = plain;
            if (c.gapless)
                std::erase(p, '_');
            const Cryptogram crypt = Encrypt(p, static_cast<unsigned>(17 + text));
            KeyColumns key = crypt.Partial(c.assigned);
            if (*c.wrong)
                key[crypt.Column(c.wrong[0]) - 1] = c.wrong[1];
            const std::string label = std::string(plain).substr(0, 16) + " " + c.assigned;
            const auto hint = SuggestHint(crypt.cipher, key, 3, kBudgetMs);
            ASSERT_TRUE(hint) << label;
            ASSERT_TRUE(IsCipherColumn(hint->column)) << label;
            EXPECT_EQ(key[static_cast<std::size_t>(hint->column - 1)], kNoLetter) << label;
            // The gap is no news while a letter is open.
            EXPECT_NE(static_cast<std::size_t>(hint->column), crypt.Column('_')) << label;
            EXPECT_NE(crypt.cipher.find(ColumnSymbol(hint->column)), std::string::npos) << label;
            EXPECT_EQ(hint->plain, crypt.truth[static_cast<std::size_t>(hint->column - 1)])
                << label;
            EXPECT_TRUE(hint->agreed) << label;
        }
        ++text;
    }
}

TEST(HintAndCheck, NothingToSayWhenEveryLetterOfTheTextIsAssignedOrThereIsNone) {
    const Cryptogram crypt = Encrypt("ДОМ_НА_БЕРЕГУ", 5);
    // Columns the text does not hold stay open, and still there is nothing to say.
    EXPECT_FALSE(SuggestHint(crypt.cipher, crypt.Partial("ДОМ_НАБЕРГУ"), 1, kBudgetMs));
    EXPECT_FALSE(SuggestHint("1 2,3\n", EmptyKey(), 1, kBudgetMs));  // no symbol of the alphabet
    // A text of one letter: whatever it reads, the hint is about that column.
    const auto single = SuggestHint("ЖЖЖ", EmptyKey(), 1, kBudgetMs);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->column, SymbolColumn('Ж'));
    // Nothing to search: nothing to flag, and no fault.
    for (const char* cipher : {"", "1 2,3\n", "Ж", "___"}) {
        EXPECT_TRUE(CheckKey(cipher, crypt.Partial("Д"), 1, 50).disagreements.empty()) << cipher;
    }
}

TEST(HintAndCheck, CheckFindsAPlantedWrongLetterAndNothingElse) {
    struct Case {
        const char* right;
        const char* wrong;  // pairs: a plaintext letter, then the entry its column was given
    };
    const Case cases[] = {
        {"_ОЕАИНТСРВ", "МШ"},
        {"_ОЕА", "ИЕ"},         // one letter given twice: the wrong one of the two is named
        {"_", "ОААО"},          // two entries swapped
        {"_ОЕАИНТСРВЛКМ", ""},  // a right key: nothing to flag
    };
    int text = 0;
    for (const char* plain : kTexts) {
        const Cryptogram crypt = Encrypt(plain, static_cast<unsigned>(40 + text++));
        for (const Case& c : cases) {
            KeyColumns key = crypt.Partial(c.right);
            std::vector<std::size_t> planted;
            for (const char* w = c.wrong; w[0] && w[1]; w += 2) {
                const std::size_t column = crypt.Column(w[0]);
                key[column - 1] = w[1];
                planted.push_back(column);
            }
            const std::string label = std::string(plain).substr(0, 16) + " " + c.wrong;
            const KeyCheck check = CheckKey(crypt.cipher, key, 7, kBudgetMs);
            if (!planted.empty()) {
                EXPECT_GT(check.freeScore, check.keptScore) << label;
            }
            ASSERT_EQ(check.disagreements.size(), planted.size()) << label;
            for (const KeyDisagreement& d : check.disagreements) {
                const auto column = static_cast<std::size_t>(d.column);
                EXPECT_NE(std::find(planted.begin(), planted.end(), column), planted.end())
                    << label << " flagged " << d.user;
                EXPECT_EQ(d.user, key[column - 1]) << label;
                EXPECT_EQ(d.solver, crypt.truth[column - 1]) << label;
            }
        }
    }
}

}  // namespace
}  // namespace zam::solver
