#include "app/settings_codec.h"

namespace zam {
namespace {

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool AtEnd() const { return offset_ >= bytes_.size(); }
    bool Has(size_t count) const { return bytes_.size() - offset_ >= count; }
    char Byte() { return bytes_[offset_++]; }
    std::uint16_t Word() {
        const auto low = static_cast<unsigned char>(bytes_[offset_]);
        const auto high = static_cast<unsigned char>(bytes_[offset_ + 1]);
        offset_ += 2;
        return static_cast<std::uint16_t>(low | (high << 8));
    }

private:
    std::string_view bytes_;
    size_t offset_ = 0;
};

void PutWord(std::string& out, int value) {
    const auto word = static_cast<std::uint16_t>(value);  // the low 16 bits
    out += static_cast<char>(word & 0xFF);
    out += static_cast<char>(word >> 8);
}

}  // namespace

SettingsData ParseSettings(std::string_view bytes) {
    SettingsData data;
    Reader reader(bytes);
    std::string flags;
    while (flags.size() < kSettingsFlagCount && !reader.AtEnd()) {
        const char c = reader.Byte();
        if (c != '0' && c != '1')
            break;
        flags += c;
    }
    if (flags.size() < kSettingsFlagCount)
        return data;
    data.flags = flags;

    for (int k = 0; k < kSavedFrameCount; ++k) {
        if (!reader.Has(4))
            return data;
        WindowPlace place;
        place.left = static_cast<std::int16_t>(reader.Word());
        place.top = static_cast<std::int16_t>(reader.Word());
        data.places[static_cast<size_t>(k)] = place;
    }
    if (reader.Has(2))
        data.lastWidth = reader.Word();
    if (reader.Has(2))
        data.lastHeight = reader.Word();
    return data;
}

std::string FormatSettings(const SettingsData& data) {
    std::string out;
    out.reserve(kSettingsFileSize);
    for (int position = 1; position <= kSettingsFlagCount; ++position) {
        out += SettingsFlag(data, position) ? '1' : '0';
    }
    for (const auto& place : data.places) {
        PutWord(out, place ? place->left : 0);
        PutWord(out, place ? place->top : 0);
    }
    PutWord(out, data.lastWidth);
    PutWord(out, data.lastHeight);
    return out;
}

bool SettingsFlag(const SettingsData& data, int position) {
    return position >= 1 && static_cast<size_t>(position) <= data.flags.size() &&
           data.flags[static_cast<size_t>(position - 1)] == '1';
}

bool PlaceIsVisible(const Rect& window, std::span<const Rect> workAreas) {
    for (const Rect& area : workAreas) {
        if (window.left < area.right && area.left < window.right && window.top < area.bottom &&
            area.top < window.bottom) {
            return true;
        }
    }
    return false;
}

}  // namespace zam
