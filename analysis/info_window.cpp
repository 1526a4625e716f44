#include "analysis/info_window.h"

#include <string_view>

#include "language/reference_data.h"
#include "skin/skinned_form.h"
#include "toolkit/canvas.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

constexpr int32_t kCardFontHeight = 16;
constexpr int32_t kCellHeight = 17;
constexpr int32_t kRowPitch = 16;  // neighbouring cells share their border line

struct Strip {
    int32_t first;  // first frequent-combinations entry
    int32_t count;
    int32_t top;  // of its cells, below the client top
    int32_t cellWidth;
    int32_t backgroundRight;
};

constexpr Strip kStrips[] = {
    {1, 4, 30, 30, 228},   // doubled letters
    {5, 10, 50, 30, 402},  // bigrams
    {15, 6, 70, 40, 346},  // trigrams
};

void DrawCell(Canvas* canvas, const ColourPalette& palette, const Rect& cell,
              std::string_view text) {
    canvas->Pen()->SetColor(palette[kBorderEntry]);
    canvas->Rectangle(cell.left, cell.top, cell.right, cell.bottom);
    const SIZE size = canvas->TextExtent(text);
    const Point centre = RectCenter(cell);
    GraphicTool* font = canvas->Font();
    font->SetFontStyle(kFontBold);
    font->SetColor(palette[kTextEntry]);
    canvas->TextOut(centre.x - size.cx / 2, centre.y - size.cy / 2, text);
    font->SetFontStyle(0);
}

void PaintCard(const ColourPalette& palette, Control* form, HDC dc) {
    const Rect client = FrameClientRect(form);
    const int32_t l = client.left;
    const int32_t t = client.top;
    Canvas* canvas = form->Canvas();
    canvas->SetHandle(dc);
    GraphicTool* brush = canvas->Brush();
    GraphicTool* font = canvas->Font();
    font->SetFontName("Arial");
    font->SetFontHeight(kCardFontHeight);

    brush->SetColor(palette[kBackgroundEntry]);
    font->SetColor(palette[kHeadingEntry]);
    brush->SetBrushStyle(kBrushClear);
    font->SetFontStyle(kFontUnderline);
    canvas->TextOut(l + 10, t + 5, "Наиболее часто встречающиеся");
    font->SetFontStyle(0);
    canvas->TextOut(l + 30, t + 30, "удвоения:");
    canvas->TextOut(l + 30, t + 50, "биграммы:");
    canvas->TextOut(l + 30, t + 70, "триграммы:");
    font->SetFontStyle(kFontUnderline);
    canvas->TextOut(l + 10, t + 100, "Таблица чередований");
    font->SetFontStyle(0);

    brush->SetBrushStyle(kBrushSolid);
    for (const Strip& strip : kStrips) {
        canvas->FillRect(
            Rect{l + 109, t + strip.top - 1, l + strip.backgroundRight, t + strip.top + 18});
    }
    canvas->FillRect(Rect{l + 9, t + 125, l + 445, t + 625});

    // The cells' outlines leave the strip backgrounds showing through.
    brush->SetBrushStyle(kBrushClear);
    for (const Strip& strip : kStrips) {
        for (int32_t i = 0; i < strip.count; ++i) {
            const int32_t left = l + 110 + i * (strip.cellWidth - 1);
            DrawCell(canvas, palette,
                     Rect{left, t + strip.top, left + strip.cellWidth, t + strip.top + kCellHeight},
                     language::FrequentCombination(strip.first + i));
        }
    }
    int32_t left = l + 10;
    for (int column = 1; column <= language::kAlternationColumnCount; ++column) {
        const int32_t width = language::AlternationColumnWidth(column);
        for (int row = 0; row < language::kAlternationRowCount; ++row) {
            const int32_t top = t + 126 + kRowPitch * row;
            DrawCell(canvas, palette, Rect{left, top, left + width, top + kCellHeight},
                     language::AlternationCell(row, column));
        }
        left += width - 1;
    }
    brush->SetBrushStyle(kBrushSolid);
    canvas->Release();
}

}  // namespace

void BuildInfoWindow(Control* form, const ColourPalette* palette) {
    FrameRecord* frame = FrameOf(form);
    if (!frame || !palette) {
        return;
    }
    // The palette outlives every window, so it is the event's whole record.
    frame->OnClientPaint = Bind<&PaintCard>(*palette);
}

}  // namespace zam
