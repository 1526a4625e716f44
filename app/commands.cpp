#include "app/commands.h"

#include <shellapi.h>

#include <string>
#include <utility>

#include "app/bigram_window.h"
#include "app/main_menu_template.h"
#include "workspace/operations.h"

namespace zam {

void ChooseScheme(Application& app, Scheme scheme) {
    app.Palette.Choose(scheme);
    for (View* view : app.Views) {
        view->Invalidate();
    }
    if (app.InfoWindow && app.InfoWindow->Form) {
        app.InfoWindow->Form->Invalidate();
    }
}

void HighlightSwitch(Application& app, int32_t item) {
    MenuEntry* entry = MenuItem(app.MainMenu(), item);
    const bool on = !ItemChecked(entry);
    SetItemChecked(entry, on);
    Workspace& ws = *app.Ws;
    switch (item) {
        case kItemHiliteCurrent:
            SetCurrentLetter(ws, app.Screen, PointerSource::FreeRow, kNoLetter);
            ws.HiliteCurrent = on;
            break;
        case kItemHiliteSelected:
            SetSelectedLetter(ws, app.Screen, kNoLetter);
            ws.HiliteSelected = on;
            break;
        case kItemHiliteCurrentBigram:
            ws.HiliteCurrentBigram = on;
            RedrawOverlayOccurrences(ws, app.Screen, ws.CurrentBigram, "");
            break;
        case kItemHiliteSelectedBigram: {
            ws.HiliteSelectedBigram = on;
            RedrawOverlayOccurrences(ws, app.Screen, ws.SelectedBigram, "");
            // The bigram selection goes with the switch, in the text and in the table.
            const Cell oldCell = std::exchange(ws.BigramSelectedCell, Cell{});
            const std::string old = std::move(ws.SelectedBigram);
            ws.SelectedBigram.clear();
            RedrawOverlayOccurrences(ws, app.Screen, old, "");
            RedrawBigramCell(app, oldCell);
            break;
        }
        case kItemHilitePhrase:
            ws.HilitePhrase = on;
            RedrawOverlayOccurrences(ws, app.Screen, ws.Phrase, "");
            break;
        default:
            break;
    }
}

bool ShellOpenTarget(const std::wstring& target) {
    // Values up to 32 are the shell's error codes.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetDesktopWindow(), L"open", target.c_str(), nullptr, L"", SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace zam
