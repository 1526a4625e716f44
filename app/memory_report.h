#pragma once
// The exit-time memory report: the program's live heap bytes compared at the end of the process
// with the count taken before anything was made.
#include <cstdint>
#include <string>

namespace zam {

// The box's text (Windows-1251): three lines, each ended from the next by a single CR.
std::string MemoryReportText(std::int64_t lostBytes);

// Shows the "Критическая ошибка" box, with no owner window, when LiveHeapBytes() is now above
// bytesAtStart; nothing otherwise. Returns once the box is closed.
void ReportHeapLoss(std::int64_t bytesAtStart);

}  // namespace zam
