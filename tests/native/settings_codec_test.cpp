#include <gtest/gtest.h>

#include "app/settings_codec.h"

namespace zam {
namespace {

// Fewer than twelve flags, or other characters among them: every default, no place.
TEST(SettingsCodec, OnlyTwelveFlagsAreTakenAndAloneTheyKeepEveryDefaultPlace) {
    const std::string twelve = "111111111111";
    for (const std::string& text : {std::string("1111"), std::string("111111 11111"),
                                    std::string("11111111111\r\n"), twelve}) {
        const SettingsData data = ParseSettings(text);
        EXPECT_EQ(data.flags, text == twelve ? twelve : "111111111110") << text;
        EXPECT_FALSE(data.places[0].has_value());
        EXPECT_EQ(data.lastWidth, 0);
    }
    const SettingsData off = ParseSettings("101111101110");
    EXPECT_FALSE(SettingsFlag(off, 2));
    EXPECT_TRUE(SettingsFlag(off, 7));
}

TEST(SettingsCodec, ACompleteFileRoundTripsAndACutOneKeepsOnlyWholeRecords) {
    SettingsData data;
    data.flags = "010101010101";
    for (int k = 0; k < kSavedFrameCount; ++k)
        data.places[k] = WindowPlace{100 * k - 300, 7 * k};
    data.lastWidth = 391;
    data.lastHeight = 300;
    const std::string bytes = FormatSettings(data);
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(bytes.substr(12, 4), std::string("\xD4\xFE\0\0", 4));  // -300, 0

    const SettingsData back = ParseSettings(bytes);
    EXPECT_EQ(back.flags, data.flags);
    for (int k = 0; k < kSavedFrameCount; ++k) {
        ASSERT_TRUE(back.places[k].has_value());
        EXPECT_EQ(back.places[k]->left, 100 * k - 300);  // negative places survive
        EXPECT_EQ(back.places[k]->top, 7 * k);
    }
    EXPECT_EQ(back.lastWidth, 391);

    const SettingsData halfPlace = ParseSettings(bytes.substr(0, 19));
    EXPECT_TRUE(halfPlace.places[0].has_value());
    EXPECT_FALSE(halfPlace.places[1].has_value());
}

}  // namespace
}  // namespace zam
