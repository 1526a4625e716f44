#include "app/settings_file.h"

#include <iterator>
#include <string>
#include <vector>

#include "app/analysis_records.h"
#include "app/commands.h"
#include "app/main_menu_template.h"
#include "app/settings_codec.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& work = info.rcWork;
        reinterpret_cast<std::vector<Rect>*>(areas)->push_back(
            {work.left, work.top, work.right, work.bottom});
    }
    return TRUE;
}

std::vector<Rect> WorkAreas() {
    std::vector<Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// Items whose check marks are settings flags 7 to 11.
constexpr int32_t kHighlightItems[] = {kItemHiliteCurrent, kItemHiliteSelected,
                                       kItemHiliteCurrentBigram, kItemHiliteSelectedBigram,
                                       kItemHilitePhrase};

void PlaceFrames(Application& app, const SettingsData& data) {
    const std::vector<Rect> areas = WorkAreas();
    const std::vector<Control*> frames = app.Frames();
    for (int32_t k = 0; k < kSavedFrameCount && k < static_cast<int32_t>(frames.size()); ++k) {
        const auto& place = data.places[static_cast<size_t>(k)];
        if (!place) {
            continue;
        }
        Control* frame = frames[static_cast<size_t>(k)];
        if (k == kSavedFrameCount - 1) {
            frame->SetSize(data.lastWidth, data.lastHeight);  // a side of 0 stays as it is
        }
        const Rect saved{place->left, place->top, place->left + frame->Width(),
                         place->top + frame->Height()};
        // A window that would lie off every monitor keeps its default place.
        if (PlaceIsVisible(saved, areas)) {
            frame->SetPosition(place->left, place->top);
        }
    }
}

}  // namespace

std::filesystem::path SettingsPath(const Application& app) {
    return app.StartupDirectory / L"settings.ini";
}

void ReadSettings(Application& app) {
    std::string bytes;
    if (ReadFileBytes(SettingsPath(app), bytes) != ReadStatus::Ok) {
        return;
    }
    const SettingsData data = ParseSettings(bytes);
    PlaceFrames(app, data);

    const auto windows = app.FlaggedWindows();
    for (size_t i = 0; i < windows.size(); ++i) {
        Control* form = windows[i]->Form;
        if (SettingsFlag(data, static_cast<int>(i) + 1)) {
            form->Show();
        } else {
            form->Hide();
        }
    }
    Workspace& ws = *app.Ws;
    bool* const flags[] = {&ws.HiliteCurrent, &ws.HiliteSelected, &ws.HiliteCurrentBigram,
                           &ws.HiliteSelectedBigram, &ws.HilitePhrase};
    for (size_t i = 0; i < std::size(flags); ++i) {
        *flags[i] = SettingsFlag(data, static_cast<int>(i) + 7);
    }

    Menu* menu = app.MainMenu();
    for (ToolWindowRecord* window : windows) {
        SetItemChecked(MenuItem(menu, window->MenuItem), window->Form->Visible());
    }
    for (size_t i = 0; i < std::size(flags); ++i) {
        SetItemChecked(MenuItem(menu, kHighlightItems[i]), *flags[i]);
    }
    const bool yellow = SettingsFlag(data, 12);
    SetItemChecked(MenuItem(menu, kItemYellowScheme), yellow);
    SetItemChecked(MenuItem(menu, kItemBlackScheme), !yellow);
    ChooseScheme(app, yellow ? Scheme::Yellow : Scheme::Black);
}

void WriteSettings(const Application& app) {
    SettingsData data;
    data.flags.clear();
    for (ToolWindowRecord* window : app.FlaggedWindows()) {
        data.flags += app.ShownToUser(window->Form) ? '1' : '0';
    }
    Menu* menu = app.MainMenu();
    for (int32_t item : kHighlightItems) {
        data.flags += ItemChecked(MenuItem(menu, item)) ? '1' : '0';
    }
    data.flags += ItemChecked(MenuItem(menu, kItemYellowScheme)) ? '1' : '0';

    const std::vector<Control*> frames = app.Frames();
    for (int32_t k = 0; k < kSavedFrameCount && k < static_cast<int32_t>(frames.size()); ++k) {
        const Control* frame = frames[static_cast<size_t>(k)];
        data.places[static_cast<size_t>(k)] = WindowPlace{frame->Left(), frame->Top()};
    }
    const Control* graph = app.GraphWindow->Form;
    if (!graph) {
        return;  // the window tree is gone: what it would say is not what the user saw
    }
    data.lastWidth = static_cast<std::uint16_t>(graph->Width());
    data.lastHeight = static_cast<std::uint16_t>(graph->Height());
    WriteFileReplacing(SettingsPath(app), FormatSettings(data));
}

}  // namespace zam
