#pragma once
// settings.ini in the start-up directory: the window layout and the display modes between runs.
#include <filesystem>

#include "app/app_state.h"

namespace zam {

std::filesystem::path SettingsPath(const Application& app);
// After the windows are built: places, shows or hides them and sets the highlight modes, their
// check marks and the colour scheme. Without a readable file nothing changes.
void ReadSettings(Application& app);
// Written beside the old file and then put in its place; a failure leaves the old one and is
// not reported.
void WriteSettings(const Application& app);

}  // namespace zam
