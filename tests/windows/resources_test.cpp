// The program's bitmaps, hand cursor and icon, loaded from this executable's resources the
// way the program loads them, and checked against the sizes and transparency rules that the
// drawing code relies on.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace zam {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct GdiDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct Size {
    const wchar_t* name;
    int width;
    int height;
};

constexpr Size kFramePieces[] = {
    {L"fb_tl", 2, 2}, {L"fb_t", 1, 2},  {L"fb_tr", 2, 2}, {L"fb_l", 2, 1},
    {L"fb_r", 2, 1},  {L"fb_bl", 2, 2}, {L"fb_b", 1, 2},  {L"fb_br", 2, 2},
};
constexpr const wchar_t* kCaptionButtons[] = {
    L"btnClose", L"btnClose_p", L"btnMin",     L"btnMin_p",
    L"btnMax",   L"btnMax_p",   L"btnRestore", L"btnRestore_p",
};
constexpr Size kScrollPieces[] = {
    {L"sbbtn", 16, 16}, {L"sbbtn_p", 16, 16}, {L"sbv_t", 16, 2}, {L"sbv_m", 16, 1},
    {L"sbv_b", 16, 2},  {L"sbh_l", 2, 16},    {L"sbh_m", 1, 16}, {L"sbh_r", 2, 16},
};
constexpr const wchar_t* kToolbarImages[] = {
    L"btnLoad",     L"btnSave", L"btnNew",   L"btnFind", L"btnLocked",
    L"btnUnLocked", L"btnAlph", L"btnGraph", L"btnDbl",  L"btnInfo",
};
constexpr const wchar_t* kMenuImages[] = {
    L"mnuLoad", L"mnuSave", L"mnuChecked", L"mnuRadio", L"mnuRadioChecked", L"mnuWeb",
};

std::vector<Size> AllBitmaps() {
    std::vector<Size> all(std::begin(kFramePieces), std::end(kFramePieces));
    for (const wchar_t* name : kCaptionButtons)
        all.push_back({name, 13, 13});
    all.insert(all.end(), std::begin(kScrollPieces), std::end(kScrollPieces));
    for (const wchar_t* name : kToolbarImages)
        all.push_back({name, 26, 26});
    for (const wchar_t* name : kMenuImages)
        all.push_back({name, 16, 16});
    return all;
}

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

OwnedBitmap LoadBitmapResource(const wchar_t* name) {
    return OwnedBitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// A top-down copy of a bitmap's pixels as COLORREFs.
class Pixels {
public:
    explicit Pixels(HBITMAP bitmap) {
        BITMAP info{};
        if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
            return;
        BITMAPINFO request{};
        request.bmiHeader.biSize = sizeof request.bmiHeader;
        request.bmiHeader.biWidth = info.bmWidth;
        request.bmiHeader.biHeight = -info.bmHeight;
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = 32;
        request.bmiHeader.biCompression = BI_RGB;
        std::vector<std::uint32_t> raw(static_cast<size_t>(info.bmWidth) * info.bmHeight);
        HDC dc = CreateCompatibleDC(nullptr);
        int lines = GetDIBits(dc, bitmap, 0, info.bmHeight, raw.data(), &request, DIB_RGB_COLORS);
        DeleteDC(dc);
        if (lines != info.bmHeight)
            return;
        width_ = info.bmWidth;
        height_ = info.bmHeight;
        for (std::uint32_t bgra : raw) {
            pixels_.push_back(RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF));
        }
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    int Count(COLORREF colour) const {
        int n = 0;
        for (COLORREF c : pixels_)
            n += c == colour;
        return n;
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

// A magenta square that icons and cursors are drawn on the way the program draws them, so
// what stays magenta is what they leave transparent.
class Backdrop {
public:
    explicit Backdrop(int size) : size_(size) {
        dc_ = CreateCompatibleDC(nullptr);
        HDC screen = GetDC(nullptr);
        bitmap_.reset(CreateCompatibleBitmap(screen, size, size));
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_.get());
        HBRUSH brush = CreateSolidBrush(kMagenta);
        RECT all{0, 0, size, size};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Backdrop() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    void Draw(HICON icon) { DrawIconEx(dc_, 0, 0, icon, size_, size_, 0, nullptr, DI_NORMAL); }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    int size_;
    HDC dc_;
    OwnedBitmap bitmap_;
    HGDIOBJ old_;
};

TEST(Resources, EveryBitmapLoadsByNameAtItsSize) {
    for (const Size& expected : AllBitmaps()) {
        SCOPED_TRACE(Narrow(expected.name));
        OwnedBitmap bitmap = LoadBitmapResource(expected.name);
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_NE(GetObjectW(bitmap.get(), sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, expected.width);
        EXPECT_EQ(info.bmHeight, expected.height);
        EXPECT_EQ(info.bmBitsPixel, 24);
        // The narrow API finds it too: resource names are matched without regard to case.
        HBITMAP plain = LoadBitmapA(GetModuleHandleW(nullptr), Narrow(expected.name).c_str());
        EXPECT_NE(plain, nullptr);
        DeleteObject(plain);
    }
    EXPECT_EQ(LoadBitmapResource(L"btnMissing"), nullptr);
}

TEST(Resources, CaptionButtonsAreRoundedKeysWithTransparentCorners) {
    for (const wchar_t* name : kCaptionButtons) {
        SCOPED_TRACE(Narrow(name));
        Pixels image(LoadBitmapResource(name).get());
        ASSERT_EQ(image.Width(), 13);
        for (auto [x, y] : {std::pair{0, 0}, {12, 0}, {0, 12}, {12, 12}, {1, 0}, {0, 1}}) {
            EXPECT_EQ(image.At(x, y), kMagenta) << x << "," << y;
        }
        // Everything inside the rounded corners is opaque; besides its 40-pixel black outline
        // the key carries a black glyph.
        EXPECT_EQ(image.Count(kMagenta), 12);
        EXPECT_EQ(image.At(6, 0), kBlack);
        EXPECT_GT(image.Count(kBlack), 40 + 6);
    }
    for (int row = 0; row < 4; ++row) {
        std::wstring name = kCaptionButtons[row * 2];
        SCOPED_TRACE(Narrow(name.c_str()));
        Pixels normal(LoadBitmapResource(name.c_str()).get());
        Pixels highlighted(LoadBitmapResource((name + L"_p").c_str()).get());
        ASSERT_EQ(highlighted.Width(), 13);
        EXPECT_NE(normal.At(6, 1), highlighted.At(6, 1)) << "the highlight must show";
    }
}

TEST(Resources, ToolbarAndMenuPicturesStandOnMagenta) {
    std::vector<std::pair<const wchar_t*, int>> pictures;
    for (const wchar_t* name : kToolbarImages)
        pictures.push_back({name, 26});
    for (const wchar_t* name : kMenuImages)
        pictures.push_back({name, 16});
    for (auto [name, size] : pictures) {
        SCOPED_TRACE(Narrow(name));
        Pixels image(LoadBitmapResource(name).get());
        ASSERT_EQ(image.Width(), size);
        for (auto [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}}) {
            EXPECT_EQ(image.At(x, y), kMagenta) << x << "," << y;
        }
        EXPECT_GT(image.Count(kMagenta), size * size / 8) << "the button colour must show";
        EXPECT_GT(image.Count(kBlack), size) << "pictures are drawn in black outlines";
    }
    // A pressed toolbar button draws its picture 2 pixels right and down and clips the rest:
    // nothing may sit in the last two columns and rows.
    for (const wchar_t* name : kToolbarImages) {
        SCOPED_TRACE(Narrow(name));
        Pixels image(LoadBitmapResource(name).get());
        for (int i = 0; i < 26; ++i) {
            for (int edge : {24, 25}) {
                EXPECT_EQ(image.At(edge, i), kMagenta) << edge << "," << i;
                EXPECT_EQ(image.At(i, edge), kMagenta) << i << "," << edge;
            }
        }
    }
}

TEST(Resources, FrameAndScrollPiecesAreOpaqueAndMatchAcrossOrientations) {
    std::vector<Size> opaque(std::begin(kFramePieces), std::end(kFramePieces));
    opaque.insert(opaque.end(), std::begin(kScrollPieces), std::end(kScrollPieces));
    for (const Size& piece : opaque) {
        SCOPED_TRACE(Narrow(piece.name));
        Pixels image(LoadBitmapResource(piece.name).get());
        ASSERT_EQ(image.Width(), piece.width);
        EXPECT_EQ(image.Count(kMagenta), 0) << "drawn without a colour key";
    }
    // The horizontal thumb is the vertical one turned on its side.
    const std::pair<const wchar_t*, const wchar_t*> turned[] = {
        {L"sbv_t", L"sbh_l"}, {L"sbv_m", L"sbh_m"}, {L"sbv_b", L"sbh_r"}};
    for (auto [vertical, horizontal] : turned) {
        SCOPED_TRACE(Narrow(horizontal));
        Pixels v(LoadBitmapResource(vertical).get());
        Pixels h(LoadBitmapResource(horizontal).get());
        ASSERT_EQ(v.Width(), h.Height());
        ASSERT_EQ(v.Height(), h.Width());
        for (int y = 0; y < v.Height(); ++y) {
            for (int x = 0; x < v.Width(); ++x)
                EXPECT_EQ(v.At(x, y), h.At(y, x));
        }
    }
    // The pressed arrow button looks pressed.
    Pixels normal(LoadBitmapResource(L"sbbtn").get());
    Pixels pressed(LoadBitmapResource(L"sbbtn_p").get());
    EXPECT_NE(normal.At(8, 3), pressed.At(8, 3));
}

TEST(Resources, HandCursorPointsWithItsFingertip) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    EXPECT_NE(LoadCursorW(module, L"CHAND"), nullptr);
    OwnedIcon cursor(static_cast<HICON>(LoadImageW(module, L"chand", IMAGE_CURSOR, 32, 32, 0)));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor.get(), &info));
    OwnedBitmap mask(info.hbmMask), colour(info.hbmColor);
    EXPECT_FALSE(info.fIcon);
    const int hx = static_cast<int>(info.xHotspot), hy = static_cast<int>(info.yHotspot);
    ASSERT_LT(hx, 32);
    ASSERT_LT(hy, 32);

    // Readers that ignore alpha go by the AND mask: white where the screen shows through.
    Pixels andMask(mask.get());
    ASSERT_EQ(andMask.Width(), 32);
    EXPECT_EQ(andMask.At(0, 0), kWhite);
    EXPECT_EQ(andMask.At(hx, hy), kBlack);

    Backdrop backdrop(32);
    backdrop.Draw(cursor.get());
    EXPECT_NE(backdrop.At(hx, hy), kMagenta) << "the hotspot is on the hand";
    for (int y = 0; y < hy; ++y) {
        for (int x = 0; x < 32; ++x)
            EXPECT_EQ(backdrop.At(x, y), kMagenta) << x << "," << y;
    }
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            opaque += backdrop.At(x, y) != kMagenta;
    }
    EXPECT_GT(opaque, 150) << "a hand, not a dot";
    EXPECT_LT(opaque, 32 * 32 / 2);
}

// The sizes in an icon group's directory (the layout of GRPICONDIR).
std::set<int> IconGroupSizes(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    if (!found)
        return {};
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    DWORD length = SizeofResource(module, found);
    std::set<int> sizes;
    if (!data || length < 6)
        return sizes;
    WORD count;
    std::memcpy(&count, data + 4, sizeof count);
    for (WORD i = 0; i < count && 6 + (i + 1) * 14u <= length; ++i) {
        const BYTE* entry = data + 6 + i * 14;
        WORD bits;
        std::memcpy(&bits, entry + 6, sizeof bits);
        EXPECT_EQ(bits, 32) << "icon entry " << i;
        EXPECT_EQ(entry[0], entry[1]) << "icon entry " << i;
        sizes.insert(entry[0] ? entry[0] : 256);
    }
    return sizes;
}

TEST(Resources, ApplicationIconHasThreeSizesUnderBothNames) {
    for (const wchar_t* name : {L"ZAM", L"MAINICON"}) {
        SCOPED_TRACE(Narrow(name));
        EXPECT_EQ(IconGroupSizes(name), (std::set<int>{16, 32, 48}));
        for (int size : {16, 32, 48}) {
            SCOPED_TRACE(size);
            OwnedIcon icon(static_cast<HICON>(
                LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, 0)));
            ASSERT_NE(icon, nullptr);
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon.get(), &info));
            OwnedBitmap mask(info.hbmMask), colour(info.hbmColor);
            EXPECT_TRUE(info.fIcon);
            BITMAP bits{};
            ASSERT_NE(GetObjectW(info.hbmColor, sizeof bits, &bits), 0);
            EXPECT_EQ(bits.bmWidth, size);
            Pixels andMask(info.hbmMask);
            ASSERT_EQ(andMask.Width(), size);
            EXPECT_EQ(andMask.At(size - 1, 0), kWhite);
            EXPECT_EQ(andMask.At(size / 2, size / 2), kBlack);

            Backdrop backdrop(size);
            backdrop.Draw(icon.get());
            EXPECT_EQ(backdrop.At(size - 1, 0), kMagenta) << "a shaped icon, not a square";
            EXPECT_EQ(backdrop.At(0, size - 1), kMagenta);
            EXPECT_NE(backdrop.At(size / 2, size / 2), kMagenta);
            EXPECT_NE(backdrop.At(size - 2, size - 2), kMagenta);
        }
    }
}

}  // namespace
}  // namespace zam
