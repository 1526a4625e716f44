#include "toolkit/graphic_tool.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "toolkit/color.h"
#include "toolkit/pointer_list.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

int liveTools = 0;

FontDescription MakeDefaultFont() {
    FontDescription font{};
    LOGFONTW gui{};
    // The stock GUI font carries the system's DPI scaling in its height.
    const bool known = GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui) > 0;
    font.height = known && gui.lfHeight != 0 ? gui.lfHeight : -11;
    font.charset = RUSSIAN_CHARSET;
    font.outPrecision = OUT_DEFAULT_PRECIS;
    font.clipPrecision = CLIP_DEFAULT_PRECIS;
    font.quality = DEFAULT_QUALITY;
    font.pitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    std::strcpy(font.name, "Arial");
    return font;
}

bool IsFont(const GraphicTool& tool) {
    return tool.Kind() == ToolKind::Font;
}

}  // namespace

const FontDescription& DefaultFont() {
    static const FontDescription font = MakeDefaultFont();
    return font;
}

int LiveGraphicTools() {
    return liveTools;
}

GraphicTool::GraphicTool(ToolKind kind) : kind_(kind) {
    ++liveTools;
    if (kind == ToolKind::Brush)
        color_ = kBtnFaceColor;
    if (kind == ToolKind::Font) {
        color_ = kDefaultFontColor;
        font_ = DefaultFont();
    }
}

GraphicTool::~GraphicTool() {
    --liveTools;
}

GraphicTool* NewBrush() {
    return NewObject<GraphicTool>(ToolKind::Brush);
}

GraphicTool* NewFont() {
    return NewObject<GraphicTool>(ToolKind::Font);
}

GraphicTool* NewPen() {
    return NewObject<GraphicTool>(ToolKind::Pen);
}

void GraphicTool::ReleaseOwned() {
    // The copies that borrowed this tool's object deselect it before it is deleted.
    Unlink();
    OwnedGdiObject handle = std::move(handle_);
    if (copies_) {
        while (copies_->Count > 0) {
            auto* copy = copies_->At<GraphicTool>(copies_->Count - 1);
            copies_->Delete(copies_->Count - 1);
            copy->source_ = nullptr;
            if (copy->borrowing_)
                copy->SourceGone();
        }
        Free(copies_);
        copies_ = nullptr;
    }
}

bool GraphicTool::SameObjectAs(const GraphicTool& other) const {
    if (kind_ != other.kind_)
        return false;
    switch (kind_) {
        case ToolKind::Brush:
            return color_ == other.color_ && brushStyle_ == other.brushStyle_ &&
                   brushBitmap_ == other.brushBitmap_;
        case ToolKind::Pen:
            return color_ == other.color_ && penWidth_ == other.penWidth_ &&
                   penStyle_ == other.penStyle_;
        case ToolKind::Font:
            return std::memcmp(&font_, &other.font_, sizeof font_) == 0;
    }
    return false;
}

HGDIOBJ GraphicTool::Create() const {
    switch (kind_) {
        case ToolKind::Brush: {
            LOGBRUSH brush{};
            if (brushBitmap_) {
                brush.lbStyle = BS_PATTERN;
                brush.lbHatch = reinterpret_cast<ULONG_PTR>(brushBitmap_);
            } else if (brushStyle_ == kBrushClear) {
                brush.lbStyle = BS_NULL;
            } else {
                brush.lbStyle = BS_SOLID;
                brush.lbColor = resolved_;
            }
            return CreateBrushIndirect(&brush);
        }
        case ToolKind::Pen: {
            LOGPEN pen{};
            pen.lopnStyle = static_cast<UINT>(penStyle_);
            pen.lopnWidth.x = std::max(penWidth_, 0);
            pen.lopnColor = resolved_;
            return CreatePenIndirect(&pen);
        }
        case ToolKind::Font: {
            LOGFONTW font{};
            font.lfHeight = font_.height;
            font.lfWidth = font_.width;
            font.lfEscapement = font_.escapement;
            font.lfOrientation = font_.orientation;
            font.lfWeight = font_.weight;
            font.lfItalic = font_.italic;
            font.lfUnderline = font_.underline;
            font.lfStrikeOut = font_.strikeOut;
            font.lfCharSet = font_.charset;
            font.lfOutPrecision = font_.outPrecision;
            font.lfClipPrecision = font_.clipPrecision;
            font.lfQuality = font_.quality;
            font.lfPitchAndFamily = font_.pitchAndFamily;
            const std::wstring name = Widen(font_.name);
            name.copy(font.lfFaceName, LF_FACESIZE - 1);
            return CreateFontIndirectW(&font);
        }
    }
    return nullptr;
}

HGDIOBJ GraphicTool::ToolHandle() {
    // A font's object does not depend on its colour; pens and brushes follow the system colour.
    // A canvas holding the stale object deselects it on OnChange before it is deleted.
    if (handle_ && !IsFont(*this) && IsSystemColor(color_) && ColorToRGB(color_) != resolved_) {
        Changed();
    }
    if (IsFont(*this))
        resolved_ = ColorToRGB(color_);
    if (handle_)
        return handle_.Get();
    if (source_ && SameObjectAs(*source_)) {
        if (HGDIOBJ shared = source_->ToolHandle()) {
            borrowing_ = true;
            resolved_ = source_->resolved_;
            return shared;
        }
    }
    resolved_ = ColorToRGB(color_);
    handle_.Reset(Create());
    return handle_.Get();
}

OwnedGdiObject GraphicTool::TakeHandle() {
    // Copies that handed out this tool's object (or, through this tool, its source's) must
    // deselect it before it goes; the caller deletes it after that.
    OwnedGdiObject handle = std::move(handle_);
    borrowing_ = false;
    if (copies_) {
        for (int32_t i = 0; i < copies_->Count; ++i) {
            auto* copy = copies_->At<GraphicTool>(i);
            if (copy->borrowing_)
                copy->SourceGone();
        }
    }
    return handle;
}

void GraphicTool::SourceGone() {
    OwnedGdiObject none = TakeHandle();
    OnChange(this);
}

void GraphicTool::Changed() {
    OwnedGdiObject old = TakeHandle();
    OnChange(this);
}

void GraphicTool::Unlink() {
    if (!source_)
        return;
    if (source_->copies_)
        source_->copies_->Remove(this);
    source_ = nullptr;
}

void GraphicTool::CopyFrom(GraphicTool* source) {
    if (source) {
        if (source->kind_ != kind_)
            return;
        for (GraphicTool* s = source; s; s = s->source_) {
            if (s == this)
                return;  // a cycle would make ToolHandle recurse forever
        }
    }
    Unlink();
    if (source) {
        source_ = source;
        if (!source->copies_)
            source->copies_ = NewList();
        source->copies_->Add(this);
        color_ = source->color_;
        brushStyle_ = source->brushStyle_;
        brushBitmap_ = source->brushBitmap_;
        penWidth_ = source->penWidth_;
        penStyle_ = source->penStyle_;
        penMode_ = source->penMode_;
        font_ = source->font_;
    }
    Changed();
}

void GraphicTool::SetColor(COLORREF color) {
    if (color == color_)
        return;
    color_ = color;
    if (IsFont(*this)) {
        // The font object stays: windows that were given it keep a valid handle.
        OnChange(this);
        return;
    }
    Changed();
}

void GraphicTool::SetBrushStyle(uint8_t style) {
    if (style == brushStyle_)
        return;
    brushStyle_ = style;
    Changed();
}

void GraphicTool::SetBrushBitmap(HBITMAP bitmap) {
    if (bitmap == brushBitmap_)
        return;
    brushBitmap_ = bitmap;
    Changed();
}

void GraphicTool::SetPenWidth(int32_t width) {
    if (width == penWidth_)
        return;
    penWidth_ = width;
    Changed();
}

void GraphicTool::SetPenStyle(int32_t style) {
    if (style == penStyle_)
        return;
    penStyle_ = style;
    Changed();
}

void GraphicTool::SetPenMode(int32_t mode) {
    if (mode == penMode_)
        return;
    penMode_ = mode;
    // The mode is a context setting, not part of the pen object; the canvas reselects it.
    OnChange(this);
}

void GraphicTool::SetFont(const FontDescription& font) {
    FontDescription next = font;
    next.name[sizeof next.name - 1] = '\0';
    if (std::memcmp(&next, &font_, sizeof next) == 0)
        return;
    font_ = next;
    Changed();
}

void GraphicTool::SetFontHeight(int32_t height) {
    FontDescription next = font_;
    next.height = height;
    SetFont(next);
}

void GraphicTool::SetFontWeight(int32_t weight) {
    FontDescription next = font_;
    next.weight = weight;
    SetFont(next);
}

void GraphicTool::SetFontQuality(uint8_t quality) {
    FontDescription next = font_;
    next.quality = quality;
    SetFont(next);
}

void GraphicTool::SetFontCharset(uint8_t charset) {
    FontDescription next = font_;
    next.charset = charset;
    SetFont(next);
}

void GraphicTool::SetFontName(std::string_view name) {
    FontDescription next = font_;
    std::memset(next.name, 0, sizeof next.name);
    name = name.substr(0, std::min(name.find('\0'), sizeof next.name - 1));
    name.copy(next.name, name.size());
    SetFont(next);
}

uint8_t GraphicTool::FontStyle() const {
    uint8_t style = 0;
    if (font_.weight >= FW_BOLD)
        style |= kFontBold;
    if (font_.italic)
        style |= kFontItalic;
    if (font_.underline)
        style |= kFontUnderline;
    if (font_.strikeOut)
        style |= kFontStrikeOut;
    return style;
}

void GraphicTool::SetFontStyle(uint8_t style) {
    FontDescription next = font_;
    if (style & kFontBold) {
        next.weight = std::max<int32_t>(next.weight, FW_BOLD);
    } else if (next.weight >= FW_BOLD) {
        next.weight = 0;
    }
    next.italic = (style & kFontItalic) ? 1 : 0;
    next.underline = (style & kFontUnderline) ? 1 : 0;
    next.strikeOut = (style & kFontStrikeOut) ? 1 : 0;
    SetFont(next);
}

}  // namespace zam
