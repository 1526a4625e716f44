// The program's bitmaps, hand cursor and icon, loaded from this executable's resources the
// way the program loads them, and checked against the sizes and transparency rules that the
// drawing code relies on.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/windows/drawing_test.h"
#include "toolkit/gdi.h"

namespace zam {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A bitmap resource copied onto a surface of its size; null when it does not load.
std::unique_ptr<test::Surface> Load(const char* name) {
    OwnedBitmap bitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof info, &info))
        return nullptr;
    auto surface = std::make_unique<test::Surface>(info.bmWidth, info.bmHeight);
    MemoryDC dc(nullptr);
    SelectGuard selected(dc.Get(), bitmap.Get());
    BitBlt(surface->Dc(), 0, 0, info.bmWidth, info.bmHeight, dc.Get(), 0, 0, SRCCOPY);
    return surface;
}

TEST(Resources, EveryBitmapHasItsSizeAndStandsOnMagentaOnlyWhereItIsKeyed) {
    const struct {
        const char* names;
        int width;
        int height;
        bool keyed;  // drawn with magenta as the transparent colour
    } groups[] = {
        {"fb_tl fb_tr fb_bl fb_br", 2, 2, false},
        {"fb_t fb_b", 1, 2, false},
        {"fb_l fb_r", 2, 1, false},
        {"sbbtn sbbtn_p", 16, 16, false},
        {"sbv_t sbv_b", 16, 2, false},
        {"sbv_m", 16, 1, false},
        {"sbh_l sbh_r", 2, 16, false},
        {"sbh_m", 1, 16, false},
        {"btnClose btnClose_p btnMin btnMin_p btnMax btnMax_p btnRestore btnRestore_p", 13, 13,
         true},
        {"btnLoad btnSave btnNew btnFind btnLocked btnUnLocked btnAlph btnGraph btnDbl btnInfo", 26,
         26, true},
        {"mnuLoad mnuSave mnuChecked mnuRadio mnuRadioChecked mnuWeb", 16, 16, true},
    };
    for (const auto& group : groups) {
        std::string names = group.names;
        for (size_t start = 0, end; start < names.size(); start = end + 1) {
            end = std::min(names.find(' ', start), names.size());
            const std::string name = names.substr(start, end - start);
            SCOPED_TRACE(name);
            const std::unique_ptr<test::Surface> loaded = Load(name.c_str());
            ASSERT_TRUE(loaded);
            const test::Surface& image = *loaded;
            ASSERT_EQ(image.Width(), group.width);
            ASSERT_EQ(image.Height(), group.height);
            if (!group.keyed) {
                EXPECT_EQ(image.Count(kMagenta), 0);
                continue;
            }
            const int last = group.width - 1;
            for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
                EXPECT_EQ(image.At(x, y), kMagenta) << x << "," << y;
            EXPECT_GT(image.Count(kBlack), group.width) << "pictures have black outlines";
            if (group.width == 13) {
                EXPECT_EQ(image.Count(kMagenta), 12) << "opaque inside the rounded corners";
            }
            // A pressed toolbar button draws its picture 2 pixels right and down and clips
            // the rest: nothing may sit in the last two columns and rows.
            int edge = 0;
            for (int i = 0; group.width == 26 && i < 26; ++i) {
                for (int e : {24, 25})
                    edge += (image.At(e, i) != kMagenta) + (image.At(i, e) != kMagenta);
            }
            EXPECT_EQ(edge, 0);
        }
    }
    EXPECT_NE(Load("btnClose")->At(6, 1), Load("btnClose_p")->At(6, 1)) << "highlight shows";
    EXPECT_NE(Load("sbbtn")->At(8, 3), Load("sbbtn_p")->At(8, 3)) << "pressed looks pressed";
}

// What an icon or cursor leaves of a magenta square it is drawn on, the way the program draws.
std::unique_ptr<test::Surface> DrawnOnMagenta(HICON icon, int size) {
    auto surface = std::make_unique<test::Surface>(size, size, kMagenta);
    DrawIconEx(surface->Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    return surface;
}

// The sizes an icon group lists (GRPICONDIR: 6 bytes, then 14 a size), smallest first.
std::vector<int> IconGroupSizes(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    const auto* data =
        found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
    std::vector<int> sizes;
    for (int i = 0; data && i < data[4]; ++i)
        sizes.push_back(data[6 + 14 * i] ? data[6 + 14 * i] : 256);
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

TEST(Resources, TheHandCursorPointsWithItsFingertipAndTheIconIsShapedAtEverySize) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    OwnedIcon cursor(static_cast<HICON>(LoadImageW(module, L"chand", IMAGE_CURSOR, 32, 32, 0)));
    ASSERT_TRUE(cursor);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor.Get(), &info));
    OwnedBitmap mask(info.hbmMask), colour(info.hbmColor);
    const int hx = static_cast<int>(info.xHotspot), hy = static_cast<int>(info.yHotspot);
    const auto hand = DrawnOnMagenta(cursor.Get(), 32);
    const std::vector<COLORREF> pixels = hand->Pixels();
    EXPECT_NE(hand->At(hx, hy), kMagenta) << "the hotspot is on the hand";
    EXPECT_EQ(std::count(pixels.begin(), pixels.begin() + 32 * hy, kMagenta), 32 * hy)
        << "nothing above the fingertip";
    EXPECT_GT(32 * 32 - hand->Count(kMagenta), 150) << "a hand, not a dot";

    for (const wchar_t* name : {L"ZAM", L"MAINICON"}) {
        EXPECT_EQ(IconGroupSizes(name), (std::vector<int>{16, 32, 48}));
        for (int size : {16, 32, 48}) {
            SCOPED_TRACE(size);
            OwnedIcon icon(static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, 0)));
            ASSERT_TRUE(icon);
            const auto drawn = DrawnOnMagenta(icon.Get(), size);
            EXPECT_EQ(drawn->At(size - 1, 0), kMagenta) << "a shaped icon, not a square";
            EXPECT_NE(drawn->At(size / 2, size / 2), kMagenta);
        }
    }
}

}  // namespace
}  // namespace zam
