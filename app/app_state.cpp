#include "app/app_state.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "app/alphabet_window.h"
#include "app/analysis_records.h"
#include "app/bigram_window.h"
#include "app/text_window.h"
#include "skin/tooltip.h"

namespace zam {

Application::Application() = default;
Application::~Application() = default;

GraphWindow* Application::Graph() const {
    return GraphWindow ? GraphWindow->Graph.get() : nullptr;
}

std::array<ToolWindowRecord*, 6> Application::FlaggedWindows() const {
    return {CipherWindow.get(), AlphabetWindow.get(), PlainWindow.get(),
            InfoWindow.get(),   BigramWindow.get(),   GraphWindow.get()};
}

std::vector<WindowRecord*> Application::Records() const {
    const std::initializer_list<WindowRecord*> all{
        MainWindow.get(),   MenuWindow.get(), CipherWindow.get(), AlphabetWindow.get(),
        PlainWindow.get(),  PhraseDialog.get(), InfoWindow.get(), BigramWindow.get(),
        GraphWindow.get(),  AboutWindow.get()};
    std::vector<WindowRecord*> records;
    std::copy_if(all.begin(), all.end(), std::back_inserter(records),
                 [](WindowRecord* record) { return record != nullptr; });
    return records;
}

std::vector<Control*> Application::Frames() const {
    std::vector<Control*> frames;
    for (const WindowRecord* record : Records()) {
        if (record != AboutWindow.get() && record->Form) {
            frames.push_back(record->Form);
        }
    }
    return frames;
}

void Application::ReleaseRecords() {
    AboutWindow.reset();
    GraphWindow.reset();
    BigramWindow.reset();
    InfoWindow.reset();
    PhraseDialog.reset();
    PlainWindow.reset();
    AlphabetWindow.reset();
    CipherWindow.reset();
    MenuWindow.reset();
    MainWindow.reset();
}

WindowRecord::~WindowRecord() {
    // Released first: the form may outlive this record when a dispatch holds it, and must not
    // call back into it.
    Free(Form.Release());
}

void AttachSurfaceHandlers(Control* surface, const SurfaceHandlers& handlers) {
    surface->OnPaint = handlers.paint;
    surface->OnMouseMove = handlers.move;
    surface->OnMouseDown = handlers.down;
    surface->OnMouseDblClk = handlers.down;
    surface->OnMouseLeave = handlers.leave;
}

void DetachViewHandlers(Control* control) {
    control->OnPaint = {};
    control->OnMouseMove = {};
    control->OnMouseDown = {};
    control->OnMouseDblClk = {};
    control->OnMouseLeave = {};
    control->OnMouseWheel = {};
    control->OnChar = {};
}

void InvalidateSurface(Control* surface) {
    if (surface && surface->WindowHandle()) {
        InvalidateRect(surface->WindowHandle(), nullptr, FALSE);
    }
}

void ForwardTypedKey(Application& app, Control*, int32_t& key, uint32_t) {
    TypeLetter(app, static_cast<char>(key & 0xFF));
}

bool Application::ShownToUser(const Control* form) const {
    if (!form) {
        return false;
    }
    if (form->Visible()) {
        return true;
    }
    HWND window = form->WindowHandle();
    return window && std::find(Minimised.begin(), Minimised.end(), window) != Minimised.end();
}

}  // namespace zam
