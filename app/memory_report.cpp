#include "app/memory_report.h"

#include <windows.h>

#include "toolkit/heap_count.h"
#include "toolkit/wide_text.h"

namespace zam {

std::string MemoryReportText(std::int64_t lostBytes) {
    return "В ходе выполнения программы возникла критическая ошибка,\r"
           "повлекшая за собой потерю " +
           std::to_string(lostBytes) +
           " байт памяти.\r"
           "Если ошибка повторится, свяжитесь в разработчиком.";
}

void ReportHeapLoss(std::int64_t bytesAtStart) {
    // Read before the texts below allocate.
    const std::int64_t lost = LiveHeapBytes() - bytesAtStart;
    if (lost <= 0) {
        return;
    }
    const std::wstring text = Widen(MemoryReportText(lost));
    const std::wstring caption = Widen("Критическая ошибка");
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace zam
