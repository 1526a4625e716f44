#pragma once
// The skinned main menu: drawn by the program through the owner-draw protocol so that it
// matches the skinned frames. The menu bar sits on the skin colour and shows the open entry as
// an orange tab with a soft shadow; popup items have an orange icon column with the item's
// bitmap, a diagonal white-to-orange gradient under the highlighted item and orange text when
// disabled; separators may carry a small title followed by an etched line.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "toolkit/geometry.h"
#include "toolkit/menu.h"

namespace zam {

class GraphicTool;

// Colours are COLORREF values 0x00BBGGRR.
constexpr COLORREF kMenuBackground = 0x5ECCFF;  // the skinned forms' colour
constexpr COLORREF kMenuShadowBase = 0x5ECCFF;
// The open tab, the icon column, separator titles and disabled texts.
constexpr COLORREF kMenuAccent = 0x0099FF;
constexpr COLORREF kMenuHighlightFrame = 0x000000;
constexpr COLORREF kMenuHighlightText = 0xFFFFFF;
constexpr COLORREF kMenuTabOutline = 0x000000;
constexpr COLORREF kMenuGradientEnd = kMenuAccent - 0x2200;  // 0x0077FF
// Disabled text of an item that is not highlighted.
constexpr COLORREF kMenuDimAccent = kMenuAccent - 0x1111;  // 0x0088EE
// Item bitmaps show through where they are magenta.
constexpr COLORREF kMenuBitmapTransparent = 0xFF00FF;

// Item measures.
constexpr int32_t kMenuCharWidth = 7;
constexpr int32_t kMenuItemPadding = 10;
constexpr int32_t kMenuIconColumnExtra = 28;  // popup items only
constexpr int32_t kMenuItemHeight = 22;
constexpr int32_t kMenuTitledSeparatorHeight = 14;
constexpr int32_t kMenuSeparatorHeight = 8;

// The tools and colours every skinned item is drawn with. One record serves the process: the
// first SkinMenu makes it, and it goes when the last menu skinned with it is destroyed.
class MenuStyle {
public:
    MenuStyle();
    MenuStyle(const MenuStyle&) = delete;
    MenuStyle& operator=(const MenuStyle&) = delete;
    ~MenuStyle();

    GraphicTool* Brush() const { return brush_.get(); }
    GraphicTool* Pen() const { return pen_.get(); }
    // The toolkit's default face (RUSSIAN_CHARSET), antialiased, weight 1.
    GraphicTool* Font() const { return font_.get(); }

    const COLORREF Background = kMenuBackground;
    const COLORREF ShadowBase = kMenuShadowBase;
    const COLORREF Accent = kMenuAccent;
    const COLORREF HighlightFrame = kMenuHighlightFrame;
    const COLORREF HighlightText = kMenuHighlightText;
    const COLORREF TabOutline = kMenuTabOutline;

private:
    friend void SkinMenu(Menu* menu);
    // The auto-free procedure of a skinned menu: the record goes with the last of them.
    static void MenuGone(void* menu);

    struct ToolDeleter {
        void operator()(GraphicTool* tool) const;
    };
    std::unique_ptr<GraphicTool, ToolDeleter> brush_;
    std::unique_ptr<GraphicTool, ToolDeleter> pen_;
    std::unique_ptr<GraphicTool, ToolDeleter> font_;
    std::vector<const Menu*> menus_;  // the live menus skinned with this record
};

// The record while a skinned menu exists, otherwise null.
MenuStyle* CurrentMenuStyle();

// The key that chooses an item ("Ctrl+O"), shown right-aligned in its popup row; empty for
// none. Unassigned (the default) shows no keys.
using MenuKeyTextSource = BoundCall<std::string_view, const MenuEntry*>;
void SetMenuKeyText(MenuKeyTextSource source);
// The gap between an item's caption and its key.
constexpr int32_t kMenuKeyGap = 24;

// Switches every item of the menu, submenus included, to owner drawing: entries of a menu bar
// are drawn by DrawBarItem, all other items by DrawPopupItem, all measured by MeasureItem.
// Items added later stay system-drawn. Skinning a menu again changes nothing; null is ignored.
void SkinMenu(Menu* menu);

// The item's size packed as width * 65536 + height, from its caption's length n: n * 7 + 10
// wide, 28 more in a popup; 22 high, a separator 14 with a caption and 8 without. Widths past
// 0x7FFF are cut to it. 0 for null.
int32_t MeasureItem(const MenuEntry* item);

// Draw the item as WM_DRAWITEM asks (the ODA_ action and ODS_ state bits of drawing) and
// return true; false, drawing nothing, for a null item or context, or without a skinned menu.
// The context is left as it was given, except that a popup item opening a submenu leaves its
// caption's colour as the text colour and the colour under the arrow as the background colour,
// for the arrow that the system draws next.
bool DrawBarItem(MenuEntry* item, const MenuItemDrawing& drawing);
bool DrawPopupItem(MenuEntry* item, const MenuItemDrawing& drawing);

// The caption (Windows-1251, "&" marks underlined) of the item in rect, in the text rules of
// separators, highlighted, disabled and submenu items.
void DrawItemText(const MenuEntry* item, HDC dc, std::string_view text, bool highlighted,
                  const Rect& rect);

// A diagonal gradient pixel by pixel: first at the top-left corner, close to second at the
// bottom-right one. Nothing for an empty rectangle.
void GradientFill(HDC dc, const Rect& rect, COLORREF first, COLORREF second);

// color with red and blue n lower and green n - 2 lower (each kept in 0..255), as the nearest
// colour the context can show.
COLORREF DarkerColor(HDC dc, COLORREF color, int32_t n);

}  // namespace zam
