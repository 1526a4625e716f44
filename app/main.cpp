// The program's entry point.
#include <windows.h>

#include <cstdint>

#include "app/memory_report.h"
#include "app/startup.h"
#include "toolkit/heap_count.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::int64_t heapAtStart = zam::LiveHeapBytes();
    const int code = zam::RunZamenor();
    zam::ReportHeapLoss(heapAtStart);
    return code;
}
