// The skinned menu: its shared drawing record, item measures and the owner drawing of menu-bar
// entries and popup items.
#include "skin/menu_skin.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <string>

#include "toolkit/bitmap.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"
#include "toolkit/object.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

constexpr COLORREF kMenuText = 0x000000;
constexpr COLORREF kFocusMark = 0x0000FF;
constexpr int32_t kThinWeight = 1;
constexpr uint8_t kAntialiased = 4;  // ANTIALIASED_QUALITY
constexpr int32_t kItemFontHeight = 15;
constexpr int32_t kSeparatorFontHeight = 12;
constexpr int32_t kIconColumnWidth = 24;
constexpr int32_t kSubmenuArrowRoom = 10;

std::unique_ptr<MenuStyle> currentStyle;
MenuKeyTextSource keyTextSource;

std::string_view KeyText(const MenuEntry* item) {
    if (!keyTextSource.Assigned() || !item || item->IsBarItem() || item->IsSeparator() || item->HasSubmenu()) {
        return {};
    }
    return keyTextSource(item);
}

// Puts back the text colour, background mode, pen position and selections a drawing changed:
// the context belongs to the system's menu painting.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;
    ~SavedDcState() {
        if (saved_ != 0) {
            RestoreDC(dc_, saved_);
        }
    }

private:
    HDC dc_;
    int saved_;
};

struct FreeObject {
    void operator()(ToolkitObject* object) const { Free(object); }
};
using BitmapPtr = std::unique_ptr<Bitmap, FreeObject>;

int32_t Clamp(int64_t value, int64_t low, int64_t high) {
    return static_cast<int32_t>(std::clamp(value, low, high));
}

int32_t Length(std::string_view text) {
    return Clamp(static_cast<int64_t>(text.size()), 0, std::numeric_limits<int32_t>::max());
}

void Fill(HDC dc, const MenuStyle& style, const Rect& rect, COLORREF color) {
    if (rect.left >= rect.right || rect.top >= rect.bottom) {
        return;
    }
    style.Brush()->SetColor(color);
    if (HBRUSH brush = style.Brush()->BrushHandle()) {
        FillRect(dc, reinterpret_cast<const RECT*>(&rect), brush);
    }
}

// Joined lines through the points; each stops one pixel short of its end point.
void Lines(HDC dc, const MenuStyle& style, COLORREF color, std::initializer_list<POINT> points) {
    // The pen's colour change deletes its old object, which must not be selected then.
    style.Pen()->SetColor(color);
    SelectGuard selected(dc, style.Pen()->PenHandle());
    const POINT* point = points.begin();
    MoveToEx(dc, point->x, point->y, nullptr);
    for (++point; point != points.end(); ++point) {
        LineTo(dc, point->x, point->y);
    }
}

void SetItemFont(GraphicTool* font, int32_t height, int32_t weight) {
    FontDescription description = font->Font();
    description.height = height;
    description.weight = weight;
    font->SetFont(description);
}

void DrawCaption(HDC dc, const std::wstring& text, RECT rect, UINT format, COLORREF color) {
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(std::min<size_t>(text.size(), INT32_MAX)), &rect,
              format);
}

// The colour of an item's caption (not a separator's title).
COLORREF CaptionColor(const MenuStyle& style, const MenuEntry* item, bool highlighted) {
    if (!ItemEnabled(item)) {
        return highlighted ? style.Accent : style.Accent - 0x1111;
    }
    return highlighted ? style.HighlightText : kMenuText;
}

// The open entry: an accent tab open at the bottom, with a soft shadow at its right.
void DrawTab(HDC dc, const MenuStyle& style, const Rect& r) {
    const int32_t L = r.left, T = r.top, R = r.right, B = r.bottom;
    Fill(dc, style, {L, T, R - 8, B}, style.Accent);
    Lines(dc, style, style.TabOutline, {{L, B - 1}, {L, T}, {R - 8, T}, {R - 8, B}});
    const COLORREF shade10 = DarkerColor(dc, style.ShadowBase, 10);
    const COLORREF shade30 = DarkerColor(dc, style.ShadowBase, 30);
    const COLORREF shade40 = DarkerColor(dc, style.ShadowBase, 40);
    const COLORREF shade60 = DarkerColor(dc, style.ShadowBase, 60);
    Fill(dc, style, {R - 7, T + 3, R - 2, B}, shade10);
    Fill(dc, style, {R - 7, T + 3, R - 2, B}, shade30);
    Fill(dc, style, {R - 7, T + 5, R - 3, B}, shade60);
    // The darkest shade's rectangle, (R - 5, T + 6, R - 5, B), is empty: it never shows.
    Lines(dc, style, style.ShadowBase, {{R - 5, T + 1}, {R - 1, T + 1}, {R - 1, T + 6}});
    Lines(dc, style, style.ShadowBase,
          {{R - 3, T + 2}, {R - 2, T + 2}, {R - 2, T + 3}, {R - 3, T + 3}});
    Lines(dc, style, shade10,
          {{R - 6, T + 3}, {R - 3, T + 3}, {R - 3, T + 6}, {R - 4, T + 6}, {R - 4, T + 3}});
    Lines(dc, style, shade30, {{R - 5, T + 5}, {R - 4, T + 5}, {R - 4, T + 9}});
    Lines(dc, style, shade40, {{R - 6, T + 5}, {R - 6, T + 7}});
}

// The item's bitmap for its state, stretched into box with magenta transparent: monochrome
// when disabled, raised (drawn twice, one pixel apart) when selected and not checked.
void DrawItemBitmap(const MenuEntry* item, HDC dc, uint32_t state, Rect box) {
    const bool checked = (state & ODS_CHECKED) != 0;
    const bool disabled = (state & ODS_DISABLED) != 0;
    const HBITMAP source = checked ? item->CheckedBitmap() : item->UncheckedBitmap();
    if (!source) {
        return;
    }
    // Drawn from a copy: the item's own bitmap stays as the menu was given it.
    OwnedBitmap copy(static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, 0)));
    if (copy && disabled) {
        copy.Reset(static_cast<HBITMAP>(CopyImage(copy.Get(), IMAGE_BITMAP, 0, 0, LR_MONOCHROME)));
    }
    if (!copy) {
        return;
    }
    BitmapPtr picture(NewBitmap(0, 0));
    picture->SetBitmapHandle(copy.Release());
    if ((state & ODS_SELECTED) && !disabled && !checked) {
        picture->StretchDrawTransparent(dc, box, kMenuBitmapTransparent);
        box = {box.left - 1, box.top - 1, box.right - 1, box.bottom - 1};
    }
    picture->StretchDrawTransparent(dc, box, kMenuBitmapTransparent);
}

// Draws the key right-aligned in rect; returns its width.
int32_t DrawKeyText(const MenuEntry* item, HDC dc, std::string_view key, bool highlighted,
                    const Rect& rect) {
    const MenuStyle& style = *CurrentMenuStyle();
    SavedDcState saved(dc);
    SetBkMode(dc, TRANSPARENT);
    SetItemFont(style.Font(), kItemFontHeight, kThinWeight);
    SelectGuard selected(dc, style.Font()->FontHandle());
    const std::wstring wide = Widen(key);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    RECT box{rect.left, rect.top + (rect.bottom - rect.top) / 2 - 8, rect.right, rect.bottom};
    OffsetRect(&box, 0, 1);
    if (!ItemEnabled(item)) {
        OffsetRect(&box, 1, 1);  // as the disabled caption lies
    }
    DrawCaption(dc, wide, box, DT_RIGHT | DT_NOPREFIX, CaptionColor(style, item, highlighted));
    return static_cast<int32_t>(extent.cx);
}

void MeasureHandler(MenuEntry* item, int32_t& width, int32_t& height) {
    const auto size = static_cast<uint32_t>(MeasureItem(item));
    width = static_cast<int32_t>(size >> 16);
    height = static_cast<int32_t>(size & 0xFFFF);
}

void DrawBarHandler(MenuEntry* item, const MenuItemDrawing& drawing) {
    DrawBarItem(item, drawing);
}

void DrawPopupHandler(MenuEntry* item, const MenuItemDrawing& drawing) {
    DrawPopupItem(item, drawing);
}

}  // namespace

// ---- the shared record ----

void MenuStyle::ToolDeleter::operator()(GraphicTool* tool) const {
    Free(tool);
}

MenuStyle::MenuStyle() : brush_(NewBrush()), pen_(NewPen()), font_(NewFont()) {
    brush_->SetBrushStyle(kBrushSolid);
    brush_->SetColor(Background);
    FontDescription font = font_->Font();
    font.quality = kAntialiased;
    font.weight = kThinWeight;
    font_->SetFont(font);
}

MenuStyle::~MenuStyle() = default;

MenuStyle* CurrentMenuStyle() {
    return currentStyle.get();
}

void SetMenuKeyText(MenuKeyTextSource source) {
    keyTextSource = source;
}

void MenuStyle::MenuGone(void* menu) {
    if (!currentStyle) {
        return;
    }
    auto& menus = currentStyle->menus_;
    menus.erase(std::remove(menus.begin(), menus.end(), static_cast<const Menu*>(menu)),
                menus.end());
    if (menus.empty()) {
        currentStyle.reset();
    }
}

void SkinMenu(Menu* menu) {
    if (!menu) {
        return;
    }
    if (!currentStyle) {
        currentStyle = std::make_unique<MenuStyle>();
    }
    auto& menus = currentStyle->menus_;
    if (std::find(menus.begin(), menus.end(), menu) != menus.end()) {
        return;
    }
    for (int32_t i = 0; i < menu->Count(); ++i) {
        MenuEntry* item = menu->Item(i);
        item->OnDrawItem =
            item->IsBarItem() ? Bind<&DrawBarHandler>() : Bind<&DrawPopupHandler>();
        item->OnMeasureItem = Bind<&MeasureHandler>();
        OwnerDraw(item, true);
    }
    menus.push_back(menu);
    AddToAutoFree(menu, &MenuStyle::MenuGone, menu);
}

// ---- measures ----

int32_t MeasureItem(const MenuEntry* item) {
    if (!item) {
        return 0;
    }
    const int64_t n = static_cast<int64_t>(item->Text().size());
    int64_t width = n * kMenuCharWidth + kMenuItemPadding;
    if (!item->IsBarItem()) {
        width += kMenuIconColumnExtra;
    }
    if (const std::string_view key = KeyText(item); !key.empty()) {
        width += Length(key) * int64_t{kMenuCharWidth} + kMenuKeyGap;
    }
    const int32_t height = !item->IsSeparator() ? kMenuItemHeight
                           : n > 0              ? kMenuTitledSeparatorHeight
                                                : kMenuSeparatorHeight;
    return Clamp(width, 0, 0x7FFF) * 65536 + height;
}

// ---- drawing ----

bool DrawBarItem(MenuEntry* item, const MenuItemDrawing& drawing) {
    const MenuStyle* style = CurrentMenuStyle();
    HDC dc = drawing.Dc;
    if (!item || !dc || !style) {
        return false;
    }
    SavedDcState saved(dc);
    const Rect& r = drawing.Bounds;
    // The skin colour reaches a little past the entry, under its neighbours' gaps.
    Fill(dc, *style, {r.left - 6, r.top, r.right + 6, r.bottom}, style->Background);
    Rect text{r.left + 20, r.top, r.right, r.bottom};
    if (drawing.Action & ODA_FOCUS) {
        Fill(dc, *style, text, kFocusMark);
    }
    // An entry the keyboard marks (F10, Alt) looks as the open one: the system marks it
    // selected, or hot where it draws the bar flat.
    if ((drawing.State & (ODS_SELECTED | ODS_HOTLIGHT)) && !(drawing.State & ODS_DISABLED)) {
        DrawTab(dc, *style, r);
        text = {r.left + 7, r.top, r.right + 7, r.bottom};
    }
    DrawItemText(item, dc, item->Text(), item->Highlighted(), text);
    return true;
}

bool DrawPopupItem(MenuEntry* item, const MenuItemDrawing& drawing) {
    const MenuStyle* style = CurrentMenuStyle();
    HDC dc = drawing.Dc;
    if (!item || !dc || !style) {
        return false;
    }
    const Rect& r = drawing.Bounds;
    const bool highlighted = item->Highlighted();
    {
        SavedDcState saved(dc);
        if (highlighted && ItemEnabled(item)) {
            GradientFill(dc, r, 0xFFFFFF, style->Accent - 0x2200);
            style->Brush()->SetColor(style->HighlightFrame);
            if (HBRUSH frame = style->Brush()->BrushHandle()) {
                FrameRect(dc, reinterpret_cast<const RECT*>(&r), frame);
            }
        } else {
            Fill(dc, *style, r, style->Background);
            Fill(dc, *style, {r.left, r.top, r.left + kIconColumnWidth, r.bottom}, style->Accent);
        }
        Rect caption{r.left + 26, r.top, r.right - 5, r.bottom};
        if (const std::string_view key = KeyText(item); !key.empty()) {
            // The key right-aligned as the system's menus have it, in the caption's colours
            // and never bold; the caption keeps clear of it even when it moves right.
            caption.right -= DrawKeyText(item, dc, key, highlighted, caption) + kMenuKeyGap;
        }
        DrawItemText(item, dc, item->Text(), highlighted, caption);
        DrawItemBitmap(item, dc, drawing.State, {r.left + 5, r.top + 3, r.left + 21, r.top + 19});
    }
    if (item->HasSubmenu()) {
        // The system draws the submenu arrow next, a monochrome picture in the context's text
        // and background colours: the caption's colour on what lies under the arrow.
        SetTextColor(dc, CaptionColor(*style, item, highlighted));
        const COLORREF under = GetPixel(dc, r.right - 6, r.top + (r.bottom - r.top) / 2);
        if (under != CLR_INVALID) {
            SetBkColor(dc, under);
        }
    }
    return true;
}

void DrawItemText(const MenuEntry* item, HDC dc, std::string_view text, bool highlighted,
                  const Rect& rect) {
    const MenuStyle* style = CurrentMenuStyle();
    if (!item || !dc || !style) {
        return;
    }
    SavedDcState saved(dc);
    SetBkMode(dc, TRANSPARENT);
    GraphicTool* font = style->Font();
    const std::wstring wide = Widen(text);

    if (item->IsSeparator()) {
        SetItemFont(font, kSeparatorFontHeight, kThinWeight);
        if (!wide.empty()) {
            SelectGuard selected(dc, font->FontHandle());
            SetTextColor(dc, style->Accent);
            TextOutW(dc, rect.left, rect.top + 1, wide.c_str(),
                     static_cast<int>(std::min<size_t>(wide.size(), INT32_MAX)));
        }
        // An etched line after the title, two pixels high, centred on the item.
        const int32_t top = rect.top + (rect.bottom - rect.top) / 2 - 1;
        RECT line{Clamp(int64_t{rect.left} + 8 * int64_t{Length(text)}, rect.left, rect.right), top,
                  rect.right, top + 2};
        if (line.left < line.right) {
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        }
        return;
    }

    const bool enabled = ItemEnabled(item);
    SetItemFont(font, kItemFontHeight, highlighted && enabled ? FW_BOLD : kThinWeight);
    const UINT format = highlighted && enabled && !item->IsBarItem() ? DT_RIGHT : DT_LEFT;
    RECT box{rect.left, rect.top + (rect.bottom - rect.top) / 2 - 8, rect.right, rect.bottom};
    OffsetRect(&box, 0, 1);
    const COLORREF color = CaptionColor(*style, item, highlighted);
    SelectGuard selected(dc, font->FontHandle());
    if (!enabled) {
        // Disabled text is orange, one pixel down and right; a highlighted one is drawn again
        // at its usual place over that copy, an embossed look.
        OffsetRect(&box, 1, 1);
        if (highlighted) {
            DrawCaption(dc, wide, box, format, color);
            box = {rect.left, rect.top, rect.right, rect.bottom};
            OffsetRect(&box, 0, 4);
        }
    }
    // The system draws a submenu arrow in popups only; a menu-bar entry keeps its room.
    if (item->HasSubmenu() && !item->IsBarItem()) {
        box.right -= kSubmenuArrowRoom;
    }
    DrawCaption(dc, wide, box, format, color);
}

void GradientFill(HDC dc, const Rect& rect, COLORREF first, COLORREF second) {
    const int64_t w = int64_t{rect.right} - rect.left;
    const int64_t h = int64_t{rect.bottom} - rect.top;
    // Sides past 16M pixels, far beyond any device, are refused: the exact arithmetic below
    // keeps its products within 64 bits.
    constexpr int64_t kMaxSide = int64_t{1} << 24;
    if (!dc || w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) {
        return;
    }
    // Only the pixels that can show are set: a huge rectangle costs no more than the window.
    RECT visible{};
    if (GetClipBox(dc, &visible) == ERROR) {
        return;
    }
    const int32_t x0 = std::max(rect.left, static_cast<int32_t>(visible.left));
    const int32_t x1 = std::min(rect.right, static_cast<int32_t>(visible.right));
    const int32_t y0 = std::max(rect.top, static_cast<int32_t>(visible.top));
    const int32_t y1 = std::min(rect.bottom, static_cast<int32_t>(visible.bottom));
    const int64_t from[3] = {GetRValue(first), GetGValue(first), GetBValue(first)};
    const int64_t to[3] = {GetRValue(second), GetGValue(second), GetBValue(second)};
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) {
            // t = trunc(512 * (dy / h + dx / w)) in exact integer arithmetic, 0..1023.
            const int64_t t =
                512 * ((y - int64_t{rect.top}) * w + (x - int64_t{rect.left}) * h) / (h * w);
            int64_t c[3];
            for (int i = 0; i < 3; ++i) {
                c[i] = from[i] + (to[i] - from[i]) * t / 1024;
            }
            SetPixel(
                dc, x, y,
                RGB(static_cast<BYTE>(c[0]), static_cast<BYTE>(c[1]), static_cast<BYTE>(c[2])));
        }
    }
}

COLORREF DarkerColor(HDC dc, COLORREF color, int32_t n) {
    const int64_t shift = n;
    const auto channel = [](int64_t value) { return static_cast<BYTE>(Clamp(value, 0, 255)); };
    const COLORREF darker =
        RGB(channel(GetRValue(color) - shift), channel(GetGValue(color) - shift + 2),
            channel(GetBValue(color) - shift));
    const COLORREF nearest = dc ? GetNearestColor(dc, darker) : CLR_INVALID;
    return nearest == CLR_INVALID ? darker : nearest;
}

}  // namespace zam
