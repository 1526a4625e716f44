#include "workspace/workspace.h"

#include "language/reference_data.h"

namespace zam {

SubstitutionKey::SubstitutionKey() {
    for (int column = 1; column <= kColumnCount; ++column) alphabet[column] = ColumnSymbol(column);
    key.Fill(kNoLetter);
    for (int column = 1; column <= kSymbolCount; ++column) {
        referenceFrequencies[column] = language::ReferenceShare(column);
    }
}

PositionList& CipherStats::Pairs(int row, int column) {
    ZAM_ASSERT(IsCipherColumn(row) && IsCipherColumn(column));
    return pairs_[static_cast<size_t>((row - 1) * kSymbolCount + (column - 1))];
}

const PositionList& CipherStats::Pairs(int row, int column) const {
    ZAM_ASSERT(IsCipherColumn(row) && IsCipherColumn(column));
    return pairs_[static_cast<size_t>((row - 1) * kSymbolCount + (column - 1))];
}

void CipherStats::Clear() {
    for (auto& list : positions) list.clear();
    for (auto& list : pairs_) list.clear();
    share.Fill(0.0f);
}

}  // namespace zam
