#include "app/tool_window.h"

#include "skin/skinned_form.h"

namespace zam {
namespace {

// Which event fired decides the check mark: the window's visibility may not have changed yet
// while its show or hide is being handled.
void FollowShowOrHide(ToolWindowRecord& tool, bool shown) {
    // The program's minimise hides windows that the user still counts as shown.
    if (tool.MenuItem != 0 && tool.Owner->Minimised.empty()) {
        SetItemChecked(MenuItem(tool.Owner->MainMenu(), tool.MenuItem), shown);
    }
}

void ToolWindowShown(ToolWindowRecord& tool, Control*) {
    FollowShowOrHide(tool, true);
    tool.Shown();
}

void ToolWindowHidden(ToolWindowRecord& tool, Control*) {
    tool.Hidden();
    FollowShowOrHide(tool, false);
}

}  // namespace

Control* NewToolForm(Control* owner, std::string_view caption) {
    Control* form = NewSkinnedForm(owner, caption);
    FrameOf(form)->Sizeable = 0;
    FrameOf(form)->CloseHides = 1;
    return form;
}

void FollowVisibility(ToolWindowRecord& record) {
    record.Form->OnShow = Bind<&ToolWindowShown>(record);
    record.Form->OnHide = Bind<&ToolWindowHidden>(record);
}

}  // namespace zam
