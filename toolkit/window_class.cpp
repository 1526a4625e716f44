// The toolkit's window classes: "obj_Form" and "obj_" copies of the system classes, each
// registered on first use with the toolkit's window procedure and unregistered again once no
// window uses it, so that nothing is left registered when the program ends.
#include <cstdlib>
#include <vector>

#include "toolkit/control_internal.h"
#include "toolkit/gdi.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

struct ClassEntry {
    WindowClassInfo info;
    ATOM atom;
};

std::vector<ClassEntry>& Classes() {
    static std::vector<ClassEntry> classes;
    return classes;
}

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

bool atExitRegistered = false;

void ReleaseAtExit() {
    ReleaseUnusedWindowClasses();
}

}  // namespace

bool RegisterToolkitClass(std::string_view className, WindowClassInfo& info) {
    const std::wstring name = L"obj_" + Widen(className);
    for (const ClassEntry& entry : Classes()) {
        if (entry.info.name == name) {
            info = entry.info;
            return true;
        }
    }

    WNDCLASSW wc{};
    WNDPROC defaultProc = DefWindowProcW;
    const std::wstring systemName = Widen(className);
    if (className != "Form" && GetClassInfoW(nullptr, systemName.c_str(), &wc)) {
        // A copy of the system class keeps its extra bytes and style; its own procedure
        // becomes the default processing of the toolkit's procedure.
        defaultProc = wc.lpfnWndProc;
        wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    } else {
        wc = WNDCLASSW{};
        wc.style = CS_DBLCLKS;
    }
    wc.lpfnWndProc = ControlInternals::WindowProc;
    wc.hInstance = Instance();
    wc.lpszClassName = name.c_str();
    if (!wc.hCursor) {
        wc.hCursor = LoadSystemCursor(SystemCursor::Arrow);
    }
    const ATOM atom = RegisterClassW(&wc);
    if (!atom) {
        return false;
    }
    if (!atExitRegistered) {
        atExitRegistered = true;
        std::atexit(ReleaseAtExit);
    }
    info = WindowClassInfo{name, defaultProc, wc.style};
    Classes().push_back(ClassEntry{info, atom});
    return true;
}

WNDPROC DefaultProcOf(HWND window) {
    const auto atom = static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM));
    for (const ClassEntry& entry : Classes()) {
        if (entry.atom == atom) {
            return entry.info.defaultProc;
        }
    }
    return DefWindowProcW;
}

void ReleaseUnusedWindowClasses() {
    // The system refuses to unregister a class while a window of it exists; such a class
    // stays registered (and its default procedure known) until a later sweep.
    std::vector<ClassEntry>& classes = Classes();
    for (size_t i = classes.size(); i-- > 0;) {
        if (UnregisterClassW(classes[i].info.name.c_str(), Instance())) {
            classes.erase(classes.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    // The room of released entries goes too: the exit-time heap report would count it as lost.
    classes.shrink_to_fit();
}

int RegisteredWindowClasses() {
    return static_cast<int>(Classes().size());
}

}  // namespace zam
