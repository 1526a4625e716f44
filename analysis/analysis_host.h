#pragma once
// What the analysis windows need from the application, and how their records follow the life
// of the forms they are built on.
#include <functional>
#include <string_view>
#include <vector>

#include "toolkit/control.h"
#include "workspace/colouring.h"
#include "workspace/display.h"
#include "workspace/workspace.h"

namespace zam {

struct AnalysisHost {
    Workspace* ws = nullptr;
    Display* display = nullptr;
    const ColourPalette* palette = nullptr;
    // The alphabet window's handling of a typed character (Windows-1251).
    std::function<void(char)> typeLetter;
    // Opens an address with the shell; the system's "open" when empty.
    std::function<void(std::string_view)> shellOpen;
    // The windows that the about box disables while it shows, asked afresh each time.
    std::function<std::vector<Control*>()> modalPeers;
};

// The form a record is built on, or null once the toolkit has freed it: a record that outlives
// its form then does nothing. A link that ends first withdraws its notification.
class FormLink {
public:
    explicit FormLink(Control* form);
    ~FormLink();
    FormLink(const FormLink&) = delete;
    FormLink& operator=(const FormLink&) = delete;

    Control* Form() const { return form_; }

private:
    static void FormGone(void* link);

    Control* form_;
};

}  // namespace zam
