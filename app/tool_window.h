#pragma once
// What every tool window shares: a skinned form whose close button only hides it, and whose
// "&Окна " item follows its visibility however it changes.
#include <cstdint>
#include <string_view>

#include "app/app_state.h"

namespace zam {

// A fixed-size tool window owned by `owner`; menuItem 0 for a window without an item.
template <class Record = ToolWindowRecord, class... Args>
Record* NewToolWindow(Application& app, Control* owner, std::string_view caption, int32_t menuItem,
                      bool inFrames, Args&&... args);

Control* NewToolForm(Control* owner, std::string_view caption);
void FollowVisibility(ToolWindowRecord& record);

template <class Record, class... Args>
Record* NewToolWindow(Application& app, Control* owner, std::string_view caption, int32_t menuItem,
                      bool inFrames, Args&&... args) {
    Record* record = app.AddRecord<Record>(inFrames, NewToolForm(owner, caption), app, menuItem,
                                           std::forward<Args>(args)...);
    FollowVisibility(*record);
    return record;
}

}  // namespace zam
