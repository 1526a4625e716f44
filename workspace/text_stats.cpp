#include "workspace/text_stats.h"

namespace zam {

void BuildLetterStatistics(CipherStats& stats, std::string_view text) {
    ZAM_ASSERT(text.size() <= kMaxTextLength);
    stats.letterMin = 0;
    stats.letterMax = 0;
    const size_t n = text.size();
    for (size_t p = 1; p <= n; ++p) {
        const int column = SymbolColumn(text[p - 1]);
        if (!IsCipherColumn(column)) continue;
        auto& list = stats.positions[column];
        list.push_back(static_cast<std::uint16_t>(p));
        if (list.size() > stats.letterMax) stats.letterMax = static_cast<std::uint16_t>(list.size());
    }
    if (n == 0) return;
    for (int column = 1; column <= kSymbolCount; ++column) {
        const size_t k = stats.positions[column].size();
        stats.share[column] = static_cast<float>(k * 100) / static_cast<float>(n);
        if (k > 0 && (stats.letterMin == 0 || k < stats.letterMin)) {
            stats.letterMin = static_cast<std::uint16_t>(k);
        }
    }
}

void BuildPairStatistics(CipherStats& stats, std::string_view text) {
    ZAM_ASSERT(text.size() <= kMaxTextLength);
    stats.pairMax = 0;
    for (size_t p = 1; p + 1 <= text.size(); ++p) {
        const int row = SymbolColumn(text[p - 1]);
        const int column = SymbolColumn(text[p]);
        if (!IsCipherColumn(row) || !IsCipherColumn(column)) continue;
        auto& list = stats.Pairs(row, column);
        list.push_back(static_cast<std::uint16_t>(p));
        if (list.size() > stats.pairMax) stats.pairMax = static_cast<std::uint16_t>(list.size());
    }
    stats.pairMin = stats.pairMax;
    for (int row = 1; row <= kSymbolCount; ++row) {
        for (int column = 1; column <= kSymbolCount; ++column) {
            const size_t k = stats.Pairs(row, column).size();
            if (k > 0 && k < stats.pairMin) stats.pairMin = static_cast<std::uint16_t>(k);
        }
    }
}

}  // namespace zam
