#pragma once
// A pen, brush or font description that makes its GDI object only when it is needed, and
// shares the object of the tool it was copied from while both describe the same thing.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/event.h"
#include "toolkit/gdi.h"
#include "toolkit/object.h"

namespace zam {

class PointerList;

enum class ToolKind : uint8_t { Brush = 0, Font = 1, Pen = 2 };

// FontStyle bits.
constexpr uint8_t kFontBold = 1;
constexpr uint8_t kFontItalic = 2;
constexpr uint8_t kFontUnderline = 4;
constexpr uint8_t kFontStrikeOut = 8;

constexpr uint8_t kBrushSolid = 0;
constexpr uint8_t kBrushClear = 1;

constexpr int32_t kDefaultPenMode = 12;  // PenMode + 1 is the ROP2 code: R2_COPYPEN

// The LOGFONT fields, with the face name as Windows-1251 text. No padding, so two
// descriptions compare bytewise.
struct FontDescription {
    int32_t height;
    int32_t width;
    int32_t escapement;
    int32_t orientation;
    int32_t weight;
    uint8_t italic;
    uint8_t underline;
    uint8_t strikeOut;
    uint8_t charset;
    uint8_t outPrecision;
    uint8_t clipPrecision;
    uint8_t quality;
    uint8_t pitchAndFamily;
    char name[32];  // zero-terminated, at most 31 characters
};
static_assert(sizeof(FontDescription) == 60);

// The toolkit's font, the one every control and canvas starts with: Arial (Liberation Sans
// under Wine) at the height of the system's GUI font, RUSSIAN_CHARSET so that the program's
// Windows-1251 texts show whatever the system code page is.
const FontDescription& DefaultFont();
// The colour new fonts take: the system's window-text colour.
constexpr COLORREF kDefaultFontColor = 0x80000008;

class GraphicTool : public ToolkitObject {
public:
    ToolKind Kind() const { return kind_; }

    // The GDI object, made now when missing. A handle made from a system colour that has
    // changed since is made afresh. Null when the system cannot make it.
    HGDIOBJ ToolHandle();
    HPEN PenHandle() { return static_cast<HPEN>(ToolHandle()); }
    HBRUSH BrushHandle() { return static_cast<HBRUSH>(ToolHandle()); }
    HFONT FontHandle() { return static_cast<HFONT>(ToolHandle()); }
    // Whether the tool currently holds a GDI object of its own (not one borrowed).
    bool HasOwnHandle() const { return static_cast<bool>(handle_); }

    // Copies the description of source (same kind only) and remembers it, so that this tool
    // uses source's GDI object while the two describe the same thing. Null forgets the source.
    void CopyFrom(GraphicTool* source);
    GraphicTool* Source() const { return source_; }

    // Called after every change, and when the object borrowed from the source goes away; a
    // canvas uses it to deselect its tools.
    Event<GraphicTool*> OnChange;

    // Every setter stores only a different value; a change drops the GDI object and calls
    // OnChange. A font's colour and a pen's mode are not part of the GDI object and keep it.
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    // ColorToRGB of Color when the handle was last made.
    COLORREF ResolvedColor() const { return resolved_; }

    uint8_t BrushStyle() const { return brushStyle_; }
    void SetBrushStyle(uint8_t style);
    // A pattern for the brush, kept by the caller for as long as the tool uses it.
    HBITMAP BrushBitmap() const { return brushBitmap_; }
    void SetBrushBitmap(HBITMAP bitmap);

    int32_t PenWidth() const { return penWidth_; }
    void SetPenWidth(int32_t width);
    // PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT ... (Win32 order).
    int32_t PenStyle() const { return penStyle_; }
    void SetPenStyle(int32_t style);
    // SetROP2 code minus one: 12 copies, 5 inverts.
    int32_t PenMode() const { return penMode_; }
    void SetPenMode(int32_t mode);

    const FontDescription& Font() const { return font_; }
    int32_t FontHeight() const { return font_.height; }
    void SetFontHeight(int32_t height);
    int32_t FontWeight() const { return font_.weight; }
    void SetFontWeight(int32_t weight);
    uint8_t FontQuality() const { return font_.quality; }
    void SetFontQuality(uint8_t quality);
    uint8_t FontCharset() const { return font_.charset; }
    void SetFontCharset(uint8_t charset);
    // Windows-1251; a name longer than 31 characters is cut.
    std::string FontName() const { return font_.name; }
    void SetFontName(std::string_view name);
    // kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut. Bold means a weight of at
    // least 700; clearing bold sets a weight of 700 or more back to 0.
    uint8_t FontStyle() const;
    void SetFontStyle(uint8_t style);
    // The whole description at once (one change, one OnChange).
    void SetFont(const FontDescription& font);

    // With the defaults of its kind; NewBrush, NewFont and NewPen are the usual way.
    explicit GraphicTool(ToolKind kind);

protected:
    ~GraphicTool() override;
    void ReleaseOwned() override;

private:
    // The description that decides the GDI object (a font's colour is not part of it).
    bool SameObjectAs(const GraphicTool& other) const;
    HGDIOBJ Create() const;
    // Drops the GDI object and calls OnChange; the object is deleted only after that, once no
    // canvas has it selected.
    void Changed();
    // Moves the tool's object out and makes the copies that borrowed it deselect it.
    OwnedGdiObject TakeHandle();
    // The object this tool borrowed from its source is going away.
    void SourceGone();
    void Unlink();

    ToolKind kind_;
    OwnedGdiObject handle_;
    GraphicTool* source_ = nullptr;
    PointerList* copies_ = nullptr;  // tools copied from this one
    // Set while this tool hands out its source's object; that tool's change must deselect it.
    bool borrowing_ = false;
    COLORREF resolved_ = 0;
    COLORREF color_ = 0;
    uint8_t brushStyle_ = kBrushSolid;
    HBITMAP brushBitmap_ = nullptr;
    int32_t penWidth_ = 0;
    int32_t penStyle_ = PS_SOLID;
    int32_t penMode_ = kDefaultPenMode;
    FontDescription font_{};
};

// A solid brush of the button-face system colour.
GraphicTool* NewBrush();
// A font with DefaultFont and kDefaultFontColor.
GraphicTool* NewFont();
// A black solid pen, width 0 (one pixel), PenMode 12.
GraphicTool* NewPen();

// Live graphic tools, for leak tests.
int LiveGraphicTools();

}  // namespace zam
