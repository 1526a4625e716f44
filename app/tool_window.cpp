#include "app/tool_window.h"

#include "skin/skinned_form.h"

namespace zam {
namespace {

void ToolWindowShownOrHidden(void* data, Control* form) {
    auto* tool = static_cast<ToolWindowRecord*>(data);
    // The program's minimise hides windows that the user still counts as shown.
    if (tool->Owner->Minimised.empty()) {
        SetItemChecked(MenuItem(tool->Owner->MainMenu(), tool->MenuItem), form->Visible());
    }
}

}  // namespace

Control* NewToolForm(Control* owner, std::string_view caption) {
    Control* form = NewSkinnedForm(owner, caption);
    FrameOf(form)->Sizeable = 0;
    FrameOf(form)->CloseHides = 1;
    return form;
}

void FollowVisibility(ToolWindowRecord& record) {
    if (record.MenuItem != 0) {
        record.Form->OnShow = MakeEvent<Control*>(&record, &ToolWindowShownOrHidden);
        record.Form->OnHide = MakeEvent<Control*>(&record, &ToolWindowShownOrHidden);
    }
}

}  // namespace zam
