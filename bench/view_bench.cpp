// How long the substitution loop's handlers take on the largest text, under Wine or Windows:
// a pointer move that changes the current letter (at the top and scrolled to the end), an
// assignment of a frequent letter, a full repaint of a text view, and opening the file.
// Not a test: it prints median and worst times.
//     view_bench.exe CRYPTOGRAM.txt [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

#include "app/alphabet_window.h"
#include "app/startup.h"
#include "app/text_window.h"
#include "skin/scroll_bar.h"
#include "skin/skin_bitmaps.h"
#include "workspace/document_file.h"

namespace {

void Pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void Measure(const char* what, int rounds, const std::function<void(int)>& step) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double start = Now();
        step(i);
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %7.3f ms   worst %7.3f ms   (%d rounds)\n", what,
                times[times.size() / 2], times.back(), rounds);
}

void Move(zam::TextView& view, zam::Point p) {
    SendMessageW(view.Surface()->WindowHandle(), WM_MOUSEMOVE, 0,
                 MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: view_bench CRYPTOGRAM.txt [ROUNDS]\n");
        return 2;
    }
    const std::filesystem::path file = argv[1];
    const int rounds = argc > 2 ? std::max(10, _wtoi(argv[2])) : 300;
    zam::FrameSkinModule frames;
    zam::StartScrollBarSkin();
    {
        auto app = zam::StartApplication([](const std::wstring&) { return true; });
        Pump();
        zam::Workspace& ws = *app->Ws;
        Measure("open the file", 5, [&](int) {
            zam::OpenDocument(ws, app->Screen, app->Boxes, file);
            Pump();
        });
        auto& cipher = *static_cast<zam::TextView*>(ws.CipherText.view);
        auto& plain = *static_cast<zam::TextView*>(ws.PlainText.view);
        // Two cells of different, frequent letters in the first line.
        int a = 1, b = 2;
        while (b < 31 && ws.CipherText.text[static_cast<size_t>(b - 1)] ==
                             ws.CipherText.text[static_cast<size_t>(a - 1)]) {
            ++b;
        }
        const auto centre = [](int position, int top) {
            const zam::Rect r = zam::TextCellRect(static_cast<std::uint16_t>(position), 31);
            return zam::Point{r.left + 8, r.top + 8 + top};
        };
        Measure("pointer move, new current letter, top", rounds,
                [&](int i) { Move(cipher, centre(i % 2 ? a : b, 0)); });
        cipher.SetSurfaceTop(-(cipher.SurfaceHeight() - 167));
        Pump();
        const int last = static_cast<int>(ws.CipherText.text.size());
        const int lastLineStart = last - (last - 1) % 31;
        Measure("pointer move, new current letter, at the end", rounds, [&](int i) {
            Move(plain,
                 centre(i % 2 ? lastLineStart - 31 : lastLineStart - 30, cipher.SurfaceTop()));
        });
        Measure("full repaint of a text view", rounds, [&](int) {
            InvalidateRect(cipher.Surface()->WindowHandle(), nullptr, FALSE);
            UpdateWindow(cipher.Surface()->WindowHandle());
        });
        // The commonest cipher letter, given a letter and cleared again.
        char frequent = ws.CipherText.text[0];
        size_t most = 0;
        for (int column = 1; column <= zam::kSymbolCount; ++column) {
            if (ws.TextStats.positions[column].size() > most && column != 31) {
                most = ws.TextStats.positions[column].size();
                frequent = zam::Alphabet()[static_cast<size_t>(column - 1)];
            }
        }
        Measure("assign a frequent letter (and clear it)", rounds, [&](int i) {
            zam::TypeLetter(*app, frequent);
            zam::TypeLetter(*app, i % 2 ? ' ' : 'О');
        });
        zam::Shutdown(*app);
        Pump();
        Free(app->ApplicationWindow);
    }
    zam::FinishScrollBarSkin();
    return 0;
}
