#pragma once
// What every tool window shares: a skinned form whose close button only hides it, and whose
// "&Окна " item follows its visibility however it changes.
#include <cstdint>
#include <memory>
#include <string_view>

#include "app/app_state.h"

namespace zam {

// A fixed-size tool window owned by `owner`; menuItem 0 for a window without an item.
// The record goes into `slot`.
template <class Record = ToolWindowRecord, class Slot, class... Args>
Record* NewToolWindow(Application& app, std::unique_ptr<Slot>& slot, Control* owner,
                      std::string_view caption, int32_t menuItem, Args&&... args);

Control* NewToolForm(Control* owner, std::string_view caption);
void FollowVisibility(ToolWindowRecord& record);

template <class Record, class Slot, class... Args>
Record* NewToolWindow(Application& app, std::unique_ptr<Slot>& slot, Control* owner,
                      std::string_view caption, int32_t menuItem, Args&&... args) {
    Record* record = app.AddRecord<Record>(slot, NewToolForm(owner, caption), app, menuItem,
                                           std::forward<Args>(args)...);
    FollowVisibility(*record);
    return record;
}

}  // namespace zam
