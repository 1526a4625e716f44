#pragma once
#include <string_view>

#include "workspace/workspace.h"

namespace zam {

// Both passes append to the lists; the caller empties them first (a clearing reset does).
// Bytes without a cipher column are left out of every list.
void BuildLetterStatistics(CipherStats& stats, std::string_view text);
void BuildPairStatistics(CipherStats& stats, std::string_view text);

}  // namespace zam
