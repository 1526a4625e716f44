#pragma once
// A Russian plaintext in the program's alphabet (Й written as И, Ё as Е), long enough that a
// solver finds its key every time, and cryptograms made with known keys.
#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "solver/key_solver.h"
#include "workspace/alphabet.h"

namespace zam::testing {

inline constexpr const char* kSampleText =
    "ВЕЧЕРОМ_МЫ_СОБРАЛИСЬ_У_СТАРОГО_ДОМА_НА_БЕРЕГУ_РЕКИ_И_ДОЛГО_ГОВОРИЛИ_О_ТОМ_ЧТО_СЛУЧИЛОСЬ_"
    "ЗА_ЛЕТО_ОТЕЦ_РАССКАЗЫВАЛ_КАК_ОН_ХОДИЛ_НА_ОХОТУ_В_ДАЛЬНИИ_ЛЕС_А_МАТЬ_СМЕЯЛАСЬ_И_НАЛИВАЛА_"
    "ВСЕМ_ГОРЯЧИИ_ЧАИ_ДЕТИ_БЕГАЛИ_ПО_САДУ_ПОКА_НЕ_СТАЛО_СОВСЕМ_ТЕМНО_ПОТОМ_ПРИШЕЛ_СОСЕД_С_"
    "ПИСЬМОМ_ОТ_БРАТА_КОТОРЫИ_ЖИЛ_В_ГОРОДЕ_УЖЕ_ДЕСЯТЬ_ЛЕТ_БРАТ_ПИСАЛ_ЧТО_СКОРО_ПРИЕДЕТ_К_НАМ_"
    "ВМЕСТЕ_С_ЖЕНОЮ_И_СЫНОМ_И_ПРОСИЛ_ПРИГОТОВИТЬ_ДЛЯ_НИХ_КОМНАТУ_НАВЕРХУ_МЫ_ОБРАДОВАЛИСЬ_ЭТОМУ_"
    "ИЗВЕСТИЮ_ВЕДЬ_ДАВНО_НЕ_ВИДЕЛИ_ЕГО_НАУТРО_ВСЯ_СЕМЬЯ_ВЗЯЛАСЬ_ЗА_РАБОТУ_ОДНИ_МЫЛИ_ПОЛЫ_ДРУГИЕ_"
    "ЧИНИЛИ_ЗАБОР_А_ЩЕНОК_ПУТАЛСЯ_ПОД_НОГАМИ_И_ЛАЯЛ_НА_КАЖДУЮ_ШУРШАЩУЮ_ВЕТКУ_ФЕДОР_ПРИНЕС_ИЗ_"
    "ПОГРЕБА_ЯБЛОКИ_И_ЦЕЛУЮ_КОРЗИНУ_ГРИБОВ_ЭТОТ_ДЕНЬ_ЗАПОМНИЛСЯ_НАМ_НАДОЛГО";

inline KeyColumns EmptyKey() {
    KeyColumns key;
    key.fill(kNoLetter);
    return key;
}

inline std::string Decrypt(std::string_view cipher, const KeyColumns& key) {
    std::string out(cipher);
    for (char& c : out)
        c = key[static_cast<std::size_t>(SymbolColumn(c) - 1)];
    return out;
}

// A text under a random substitution of the 30 letters; the gap stays the gap.
struct Cryptogram {
    std::string cipher;
    KeyColumns truth = EmptyKey();  // the true plaintext letter per cipher column

    // The true entries for the cipher columns of these plaintext letters, the rest empty.
    KeyColumns Partial(std::string_view letters) const {
        KeyColumns key = EmptyKey();
        for (char plain : letters)
            key[Column(plain) - 1] = plain;
        return key;
    }
    // The cipher column that stands for a plaintext letter.
    std::size_t Column(char plain) const {
        return static_cast<std::size_t>(std::find(truth.begin(), truth.end(), plain) -
                                        truth.begin()) +
               1;
    }
};

inline Cryptogram Encrypt(std::string_view plain, unsigned seed) {
    std::vector<int> cipherOf(kSymbolCount);  // plain column - 1 -> cipher column
    std::iota(cipherOf.begin(), cipherOf.end(), 1);
    std::mt19937 random(seed);
    std::shuffle(cipherOf.begin(), cipherOf.end() - 1, random);
    Cryptogram out;
    for (int c = 0; c < kSymbolCount; ++c)
        out.truth[static_cast<std::size_t>(cipherOf[static_cast<std::size_t>(c)] - 1)] =
            ColumnSymbol(c + 1);
    for (char p : plain)
        out.cipher += ColumnSymbol(cipherOf[static_cast<std::size_t>(SymbolColumn(p) - 1)]);
    return out;
}

}  // namespace zam::testing
