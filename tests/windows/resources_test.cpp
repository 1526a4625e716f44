// What the resource generator's byte-for-byte check cannot see: that this executable's
// resources load the way the program loads them, at their sizes, the hand cursor's hotspot on
// its fingertip, and icons shaped at every size.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/windows/drawing_test.h"
#include "toolkit/gdi.h"

namespace zam {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

TEST(Resources, EveryBitmapLoadsAtItsSizeTheHandPointsAndTheIconIsShaped) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    std::istringstream table(
        "fb_tl 2 2 fb_tr 2 2 fb_bl 2 2 fb_br 2 2 fb_t 1 2 fb_b 1 2 fb_l 2 1 fb_r 2 1 "
        "sbbtn 16 16 sbbtn_p 16 16 sbv_t 16 2 sbv_b 16 2 sbv_m 16 1 sbh_l 2 16 sbh_r 2 16 "
        "sbh_m 1 16 btnClose 13 13 btnClose_p 13 13 btnMin 13 13 btnMin_p 13 13 btnMax 13 13 "
        "btnMax_p 13 13 btnRestore 13 13 btnRestore_p 13 13 btnLoad 26 26 btnSave 26 26 "
        "btnNew 26 26 btnFind 26 26 btnLocked 26 26 btnUnLocked 26 26 btnAlph 26 26 "
        "btnGraph 26 26 btnDbl 26 26 btnInfo 26 26 mnuLoad 16 16 mnuSave 16 16 "
        "mnuChecked 16 16 mnuRadio 16 16 mnuRadioChecked 16 16 mnuWeb 16 16");
    std::string name;
    int count = 0;
    for (int width, height; table >> name >> width >> height; ++count) {
        OwnedBitmap bitmap(static_cast<HBITMAP>(
            LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        BITMAP info{};
        ASSERT_TRUE(bitmap && GetObjectW(bitmap.Get(), sizeof info, &info)) << name;
        EXPECT_EQ(info.bmWidth * 100 + info.bmHeight, width * 100 + height) << name;
    }
    EXPECT_EQ(count, 40);

    // The hand cursor points with its fingertip; the icon is shaped at every size.
    OwnedIcon cursor(static_cast<HICON>(LoadImageW(module, L"chand", IMAGE_CURSOR, 32, 32, 0)));
    ICONINFO info{};
    ASSERT_TRUE(cursor && GetIconInfo(cursor.Get(), &info));
    OwnedBitmap mask(info.hbmMask), colour(info.hbmColor);
    const int hx = static_cast<int>(info.xHotspot), hy = static_cast<int>(info.yHotspot);
    test::Surface hand(32, 32, kMagenta);
    DrawIconEx(hand.Dc(), 0, 0, cursor.Get(), 32, 32, 0, nullptr, DI_NORMAL);
    EXPECT_NE(hand.At(hx, hy), kMagenta) << "the hotspot is on the hand";
    const std::vector<COLORREF> pixels = hand.Pixels();
    EXPECT_EQ(std::count(pixels.begin(), pixels.begin() + 32 * hy, kMagenta), 32 * hy)
        << "nothing above the fingertip";

    for (const wchar_t* name : {L"ZAM", L"MAINICON"}) {
        for (int size : {16, 32, 48}) {
            SCOPED_TRACE(size);
            OwnedIcon icon(static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, 0)));
            ASSERT_TRUE(icon);
            test::Surface drawn(size, size, kMagenta);
            DrawIconEx(drawn.Dc(), 0, 0, icon.Get(), size, size, 0, nullptr, DI_NORMAL);
            EXPECT_EQ(drawn.At(size - 1, 0), kMagenta) << "a shaped icon, not a square";
            EXPECT_NE(drawn.At(size / 2, size / 2), kMagenta);
        }
    }
}

}  // namespace
}  // namespace zam
