#include <gtest/gtest.h>

#include "app/settings_codec.h"

namespace zam {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values)
        out += static_cast<char>(v);
    return out;
}

TEST(SettingsCodec, OnlyTwelveFlagsAreTakenAndAloneTheyKeepEveryDefaultPlace) {
    const std::string twelve = "111111111111";
    for (const std::string& text : {std::string(), std::string("1111"), std::string("111111 11111"),
                                    std::string("11111111111\n") + std::string(40, '\x05'),
                                    std::string("11111111111\r\n"), twelve}) {
        const SettingsData data = ParseSettings(text);
        EXPECT_EQ(data.flags, text == twelve ? twelve : "111111111110") << text;
        for (const auto& place : data.places)
            EXPECT_FALSE(place.has_value());
        EXPECT_EQ(data.lastWidth, 0);
    }
    const SettingsData off = ParseSettings("101111101110");
    EXPECT_FALSE(SettingsFlag(off, 2));
    EXPECT_FALSE(SettingsFlag(off, 8));
    EXPECT_TRUE(SettingsFlag(off, 7));
    EXPECT_FALSE(SettingsFlag(off, 13));
}

TEST(SettingsCodec, ACompleteFileRoundTrips) {
    SettingsData data;
    data.flags = "010101010101";
    for (int k = 0; k < kSavedFrameCount; ++k)
        data.places[k] = WindowPlace{100 * k - 300, 7 * k};
    data.lastWidth = 391;
    data.lastHeight = 300;
    const std::string bytes = FormatSettings(data);
    ASSERT_EQ(bytes.size(), kSettingsFileSize);
    EXPECT_EQ(bytes.substr(0, 16), "010101010101" + Bytes({0xD4, 0xFE, 0, 0}));  // -300, 0

    const SettingsData back = ParseSettings(bytes);
    EXPECT_EQ(back.flags, data.flags);
    for (int k = 0; k < kSavedFrameCount; ++k) {
        ASSERT_TRUE(back.places[k].has_value());
        EXPECT_EQ(back.places[k]->left, 100 * k - 300);  // negative places survive
        EXPECT_EQ(back.places[k]->top, 7 * k);
    }
    EXPECT_EQ(back.lastWidth, 391);
    EXPECT_EQ(back.lastHeight, 300);
}

TEST(SettingsCodec, FilesEndingInsideARecordUseOnlyWholeRecords) {
    const std::string flags = "111111111111";
    SettingsData data = ParseSettings(flags + Bytes({10, 0, 20, 0, 30, 0, 40}));
    ASSERT_TRUE(data.places[0].has_value());
    EXPECT_EQ(data.places[0]->left, 10);
    EXPECT_FALSE(data.places[1].has_value());

    SettingsData full;
    full.flags = flags;
    full.lastWidth = 500;
    full.lastHeight = 400;
    std::string bytes = FormatSettings(full);
    data = ParseSettings(bytes.substr(0, 50));  // the width only
    EXPECT_EQ(data.lastWidth, 500);
    EXPECT_EQ(data.lastHeight, 0);
    data = ParseSettings(bytes.substr(0, 49));
    EXPECT_TRUE(data.places[8].has_value());
    EXPECT_EQ(data.lastWidth, 0);
}

TEST(SettingsCodec, APlaceIsVisibleWhenItSharesAPixelWithAWorkArea) {
    const Rect areas[] = {{0, 0, 1280, 994}, {-1024, 0, 0, 738}};
    EXPECT_TRUE(PlaceIsVisible({-400, 100, -100, 300}, areas));   // on the left monitor
    EXPECT_TRUE(PlaceIsVisible({1279, 993, 1600, 1200}, areas));  // one pixel in
    EXPECT_FALSE(PlaceIsVisible({1280, 0, 1600, 200}, areas));    // just off the right edge
    EXPECT_FALSE(PlaceIsVisible({-1500, 0, -1024, 200}, areas));
    EXPECT_FALSE(PlaceIsVisible({-300, 738, -100, 900}, areas));  // below the smaller monitor
    EXPECT_FALSE(PlaceIsVisible({0, 0, 100, 100}, {}));
}

}  // namespace
}  // namespace zam
