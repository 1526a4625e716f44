#pragma once
// The settings file's bytes: twelve flag characters, nine window places and the graph
// window's size, little-endian. Reading never fails: what cannot be used is left out.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "toolkit/geometry.h"

namespace zam {

inline constexpr std::string_view kDefaultSettingsFlags = "111111111110";
inline constexpr int kSettingsFlagCount = 12;
inline constexpr int kSavedFrameCount = 9;
inline constexpr std::size_t kSettingsFileSize = 52;

struct WindowPlace {
    int left = 0;
    int top = 0;
};

struct SettingsData {
    std::string flags = std::string(kDefaultSettingsFlags);
    // Places of the frames in their fixed order; missing ones keep their default place.
    std::array<std::optional<WindowPlace>, kSavedFrameCount> places;
    // Size of the last frame; 0 leaves that side unchanged.
    std::uint16_t lastWidth = 0;
    std::uint16_t lastHeight = 0;
};

// Places are read as signed 16-bit values, so a window left of or above the primary monitor
// comes back where it was. A record cut short by the end of the file is not used.
SettingsData ParseSettings(std::string_view bytes);

// Exactly 52 bytes; flags beyond the twelfth are ignored, missing ones written as "0".
std::string FormatSettings(const SettingsData& data);

// Whether a window with these outer edges shares any pixel with one of the monitors' work
// areas; one that does not would be lost off-screen.
bool PlaceIsVisible(const Rect& window, std::span<const Rect> workAreas);

// Flag 1-12 is on only when it is "1".
bool SettingsFlag(const SettingsData& data, int position);

}  // namespace zam
