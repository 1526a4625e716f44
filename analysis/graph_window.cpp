#include "analysis/graph_window.h"

#include <string>

#include "skin/skinned_form.h"
#include "toolkit/canvas.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"
#include "toolkit/wide_text.h"
#include "workspace/operations.h"

namespace zam {
namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kGrid = 0x999999;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int32_t kPenModeBlack = 0;  // R2_BLACK - 1
constexpr int32_t kPenModeNot = 5;    // R2_NOT - 1
constexpr int32_t kLabelFontHeight = 14;
constexpr int32_t kMinDrawWidth = 50;
constexpr int32_t kMinDrawHeight = 80;
std::string DecimalSeparator() {
    wchar_t buffer[8]{};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) <= 1) {
        return ".";
    }
    return Narrow(buffer);
}

HCURSOR HandCursor() {
    HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), L"CHAND");
    return hand ? hand : LoadSystemCursor(SystemCursor::Hand);
}

}  // namespace

class GraphWindow::Batch {
public:
    explicit Batch(Control* form) : canvas(form->Canvas()), dc(canvas->Handle()) {}
    ~Batch() { canvas->Release(); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    Canvas* canvas;
    HDC dc;
};

GraphWindow::GraphWindow(Control* form, const AnalysisHost& host) : form_(form), host_(host) {
    FrameRecord* frame = FrameOf(form);
    if (frame) {
        frame->OnClientPaint = Bind<&GraphWindow::OnClientPaint>(this);
        frame->OnFrameResized = Bind<&GraphWindow::OnResized>(this);
    }
    form->OnMouseDown = Bind<&GraphWindow::OnMouseDown>(this);
    form->OnMouseMove = Bind<&GraphWindow::OnMouseMove>(this);
    form->OnMouseUp = Bind<&GraphWindow::OnMouseUp>(this);
    form->OnChar = Bind<&GraphWindow::OnChar>(this);
}

GraphWindow::~GraphWindow() {
    Control* form = Form();
    if (!form) {
        return;
    }
    // The form stays; its events must not call into a record that is gone.
    if (FrameRecord* frame = FrameOf(form)) {
        frame->OnClientPaint = {};
        frame->OnFrameResized = {};
    }
    form->OnMouseDown = Event<Control*, MouseEventData&>{};
    form->OnMouseMove = Event<Control*, MouseEventData&>{};
    form->OnMouseUp = Event<Control*, MouseEventData&>{};
    form->OnChar = Event<Control*, int32_t&, uint32_t>{};
}

bool GraphWindow::CanDraw() const {
    Control* form = Form();
    if (!form || !form->WindowHandle() || !host_.ws || !host_.palette) {
        return false;
    }
    const Rect client = FrameClientRect(form);
    const Rect plot = axes_.Plot();
    return client.top <= plot.top && client.top <= plot.bottom && form->Width() >= kMinDrawWidth &&
           form->Height() >= kMinDrawHeight;
}

void GraphWindow::Refit() {
    Control* form = Form();
    if (!form) {
        return;
    }
    Canvas* canvas = form->Canvas();
    const int32_t letterWidth = canvas->TextExtent("Щ").cx;
    const int32_t digitHeight = canvas->TextExtent("1").cy;
    canvas->Release();
    axes_.Fit(letterWidth, digitHeight);
}

void GraphWindow::DrawGraph(bool erase) {
    if (!CanDraw()) {
        return;
    }
    Control* form = Form();
    Batch batch(form);
    if (!batch.dc) {
        return;
    }
    ClipScope clip(batch.dc, FrameClientRect(form));
    Canvas* canvas = batch.canvas;
    canvas->Pen()->SetPenMode(erase ? kPenModeBlack : kDefaultPenMode);
    canvas->Brush()->SetBrushStyle(kBrushSolid);
    canvas->Brush()->SetColor(kBlack);
    DrawGridAndLabels(canvas, erase);
    DrawAxes(canvas, erase);
    {
        // Shares above 20 percent leave the plot and are cut off.
        ClipScope plotClip(batch.dc, axes_.Plot());
        DrawLines(canvas, MarkerKind::Reference, erase);
        if (!host_.ws->CipherText.text.empty()) {
            DrawLines(canvas, MarkerKind::Cipher, erase);
        }
        canvas->Brush()->SetColor(kBlack);
    }
    canvas->Pen()->SetPenMode(kDefaultPenMode);
}

void GraphWindow::DrawGridAndLabels(Canvas* canvas, bool erase) {
    GraphicTool* font = canvas->Font();
    font->SetColor(erase ? kBlack : (*host_.palette)[kTextEntry]);
    font->SetFontHeight(kLabelFontHeight);
    GraphicTool* pen = canvas->Pen();
    pen->SetColor(kGrid);
    pen->SetPenStyle(PS_DOT);
    const Rect plot = axes_.Plot();
    const GraphAxis& vertical = axes_.vertical;
    const GraphAxis& horizontal = axes_.horizontal;

    // The last label value itself gets neither a label nor a grid line.
    const std::string separator = DecimalSeparator();
    for (int32_t k = 0; k < vertical.labelCount; ++k) {
        const int32_t value = vertical.firstLabel + k * vertical.labelStep;
        const std::string text = PercentLabel(value, separator);
        const SIZE size = canvas->TextExtent(text);
        const int32_t y = axes_.ToPixel(0, value).y;
        canvas->TextOut(plot.left - 10 - size.cx, y - size.cy / 2, text);
        canvas->MoveTo(plot.left - 2, y);
        canvas->LineTo(plot.right, y);
    }
    if (horizontal.labelCount > 0) {
        for (int32_t k = 0; k <= horizontal.labelCount; ++k) {
            const int32_t value = horizontal.firstLabel + k * horizontal.labelStep;
            const int32_t x = axes_.ToPixel(value, 0).x;
            // 3200 lies past the last symbol: a grid line without a letter.
            if (value >= 100 && value < kHorizontalFullRange) {
                const std::string letter(1, ColumnSymbol(order_[static_cast<size_t>(value / 100)]));
                const SIZE size = canvas->TextExtent(letter);
                canvas->TextOut(x - size.cx / 2, plot.bottom + 5, letter);
            }
            canvas->MoveTo(x, plot.bottom);
            canvas->LineTo(x, plot.top + vertical.labelSpacing);
        }
    }
    pen->SetColor(kWhite);
    pen->SetPenStyle(PS_SOLID);
}

void GraphWindow::DrawAxes(Canvas* canvas, bool erase) {
    const Rect plot = axes_.Plot();
    canvas->MoveTo(plot.left, plot.top);
    canvas->LineTo(plot.left, plot.bottom);
    canvas->LineTo(plot.right, plot.bottom);
    canvas->Font()->SetColor(erase ? kBlack : kWhite);
    canvas->TextOut(plot.left - 15, plot.top - 10, "%");
}

void GraphWindow::DrawLines(Canvas* canvas, MarkerKind kind, bool erase) {
    const COLORREF line = kind == MarkerKind::Reference ? kRed : kGreen;
    GraphicTool* pen = canvas->Pen();
    for (int p = 1; p <= kSymbolCount; ++p) {
        PaintMarker(canvas, kind, p, erase);
        if (p < kSymbolCount) {
            pen->SetColor(line);
            pen->SetPenStyle(PS_SOLID);
            const Point from = MarkerPoint(kind, p);
            const Point to = MarkerPoint(kind, p + 1);
            canvas->MoveTo(from.x, from.y);
            canvas->LineTo(to.x, to.y);
        }
    }
}

Point GraphWindow::MarkerPoint(MarkerKind kind, int position) const {
    const int column = order_[static_cast<size_t>(position)];
    const float share = kind == MarkerKind::Cipher
                            ? host_.ws->TextStats.share[column]
                            : host_.ws->KeyTable.referenceFrequencies[column];
    return axes_.ToPixel(position * 100.0, static_cast<double>(share) * 100.0);
}

void GraphWindow::PaintMarker(Canvas* canvas, MarkerKind kind, int position, bool erase) {
    const Workspace& ws = *host_.ws;
    const ColourPalette& palette = *host_.palette;
    const char letter = ColumnSymbol(order_[static_cast<size_t>(position)]);
    COLORREF fill = kBlack;
    if (!erase) {
        bool lit;
        if (kind == MarkerKind::Cipher) {
            lit = letter == LetterOf(ws.CurrentLetter) ||
                  (ws.HiliteSelected && letter == LetterOf(ws.SelectedLetter));
        } else {
            lit = letter == LetterOf(ws.PlainLetter);
        }
        fill = lit ? LetterBackground(ws, palette, letter)
                   : (kind == MarkerKind::Cipher ? kGreen : kRed);
        if (fill == kBlack) {
            fill = palette[kCurrentEntry];  // a black marker would vanish into the background
        }
    }
    const COLORREF outline = fill == kRed || fill == kGreen ? kBlack : fill;
    GraphicTool* brush = canvas->Brush();
    GraphicTool* pen = canvas->Pen();
    brush->SetBrushStyle(kBrushSolid);
    brush->SetColor(fill);
    pen->SetColor(outline);
    pen->SetPenStyle(PS_SOLID);
    const Point at = MarkerPoint(kind, position);
    canvas->Rectangle(at.x - 3, at.y - 3, at.x + 3, at.y + 3);
    brush->SetColor(kBlack);
    pen->SetColor(kBlack);
}

void GraphWindow::DrawMarker(MarkerKind kind, char letter) {
    if (kind != MarkerKind::Reference) {
        kind = MarkerKind::Cipher;  // the plaintext kind is drawn as the ciphertext one
    }
    if (!CanDraw()) {
        return;
    }
    const int position = DisplayPosition(order_, letter);
    if (position == 0 || (kind == MarkerKind::Cipher && host_.ws->CipherText.text.empty())) {
        return;
    }
    Control* form = Form();
    Batch batch(form);
    if (!batch.dc) {
        return;
    }
    // As inside the whole picture: a share above the plot must not reach the caption.
    ClipScope clip(batch.dc, FrameClientRect(form));
    ClipScope plotClip(batch.dc, axes_.Plot());
    PaintMarker(batch.canvas, kind, position, false);
}

void GraphWindow::SetDisplayOrder(bool alphabetical) {
    if (alphabetical) {
        if (IsIdentity(order_)) {
            return;
        }
        DrawGraph(true);
        order_ = IdentityOrder();
        DrawGraph(false);
        return;
    }
    // A new sort needs alphabetical order first, so a changed text does not reorder by itself.
    if (!host_.ws || !IsIdentity(order_) || host_.ws->CipherText.text.empty()) {
        return;
    }
    DrawGraph(true);
    SortByShare(order_, host_.ws->TextStats.share);
    DrawGraph(false);
}

void GraphWindow::DrawBand() {
    Control* form = Form();
    if (!form || !form->WindowHandle()) {
        return;
    }
    Batch batch(form);
    if (!batch.dc) {
        return;
    }
    ClipScope clip(batch.dc, FrameClientRect(form));
    GraphicTool* pen = batch.canvas->Pen();
    GraphicTool* brush = batch.canvas->Brush();
    // Inverting: the same band drawn twice leaves no trace.
    pen->SetPenMode(kPenModeNot);
    pen->SetPenStyle(PS_DOT);
    brush->SetBrushStyle(kBrushClear);
    batch.canvas->Rectangle(band_.left, band_.top, band_.right, band_.bottom);
    pen->SetPenStyle(PS_SOLID);
    pen->SetPenMode(kDefaultPenMode);
    brush->SetBrushStyle(kBrushSolid);
}

bool GraphWindow::HitMarker(Point p, MarkerKind& kind, char& letter) const {
    const bool hasText = !host_.ws->CipherText.text.empty();
    for (int position = 1; position <= kSymbolCount; ++position) {
        // Ciphertext markers are not drawn without a ciphertext, so they cannot be hit.
        for (MarkerKind each : {MarkerKind::Cipher, MarkerKind::Reference}) {
            if ((each == MarkerKind::Reference || hasText) &&
                MarkerHit(MarkerPoint(each, position), p)) {
                kind = each;
                letter = ColumnSymbol(order_[static_cast<size_t>(position)]);
                return true;
            }
        }
    }
    return false;
}

void GraphWindow::OnClientPaint(Control* form, HDC dc) {
    // Over the background the frame has just cleared, on the paint's own context.
    form->Canvas()->SetHandle(dc);
    DrawGraph(false);
    form->Canvas()->Release();
}

void GraphWindow::OnResized(Control* form) {
    DrawGraph(true);
    axes_.Layout(FrameClientRect(form));
    Refit();
    DrawGraph(false);
}

void GraphWindow::OnMouseDown(Control* form, MouseEventData& data) {
    if (!host_.ws || !host_.display) {
        return;
    }
    Workspace& ws = *host_.ws;
    Display& display = *host_.display;
    if (data.Button != 1) {
        SetSelectedLetter(ws, display, kNoLetter);
        return;
    }
    const Point p{data.X, data.Y};
    const Rect plot = axes_.Plot();
    band_ = Rect{p.x, p.y, p.x, p.y};
    if (!BandActive(band_, plot)) {
        band_ = Rect{0, 0, 0, 0};
        return;
    }
    dragging_ = true;
    // Moves keep coming while a drag leaves the window, with negative coordinates.
    SetCapture(form->Handle());
    const Rect client = FrameClientRect(form);
    if (InVerticalStrip(client, plot, p)) {
        SetDisplayOrder(false);
        return;
    }
    if (InHorizontalStrip(client, plot, p)) {
        SetDisplayOrder(true);
        return;
    }
    MarkerKind kind{};
    char letter = 0;
    if (!HitMarker(p, kind, letter)) {
        return;
    }
    if (kind == MarkerKind::Cipher) {
        if (letter != LetterOf(ws.SelectedLetter)) {
            SetSelectedLetter(ws, display, letter);
        }
    } else if (host_.typeLetter) {
        host_.typeLetter(letter);
    }
}

void GraphWindow::OnMouseMove(Control* form, MouseEventData& data) {
    if (!host_.ws || !host_.display) {
        return;
    }
    const Point p{data.X, data.Y};
    const Rect plot = axes_.Plot();
    if (!(data.Shift & MK_LBUTTON) && dragging_) {
        // The release went elsewhere: the band goes now, without a zoom.
        if (bandShown_) {
            DrawBand();
        }
        CancelBand();
    }
    if ((data.Shift & MK_LBUTTON) && dragging_) {
        // The band follows the pointer wherever it goes; whether it zooms is decided on release.
        if (bandShown_) {
            DrawBand();
        }
        band_.right = p.x;
        band_.bottom = p.y;
        DrawBand();
        bandShown_ = true;
        return;
    }
    const Rect client = FrameClientRect(form);
    if (InVerticalStrip(client, plot, p) || InHorizontalStrip(client, plot, p)) {
        form->SetCursor(HandCursor());
        return;
    }
    Workspace& ws = *host_.ws;
    Display& display = *host_.display;
    MarkerKind kind{};
    char letter = 0;
    if (!HitMarker(p, kind, letter)) {
        SetCurrentLetter(ws, display, PointerSource::FreeRow, kNoLetter);
    } else if (kind == MarkerKind::Cipher) {
        if (letter != LetterOf(ws.CurrentLetter)) {
            SetCurrentLetter(ws, display, PointerSource::CipherRow, letter);
        }
    } else if (letter != LetterOf(ws.PlainLetter)) {
        SetCurrentLetter(ws, display, PointerSource::FreeRow, letter);
    }
    form->SetCursor(LoadSystemCursor(SystemCursor::Arrow));
}

void GraphWindow::OnMouseUp(Control* form, MouseEventData& data) {
    if (data.Button != 1) {
        return;
    }
    if (GetCapture() == form->WindowHandle()) {
        ReleaseCapture();
    }
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    if (bandShown_) {
        DrawBand();
        bandShown_ = false;
    }
    const bool active = BandActive(band_, axes_.Plot());
    const BandOutcome outcome = active ? FinishBand(band_, axes_) : BandOutcome{};
    band_ = Rect{0, 0, 0, 0};
    if (outcome.gesture == BandGesture::None) {
        return;
    }
    DrawGraph(true);
    axes_.SetRanges(outcome.xMin, outcome.xMax, outcome.yMin, outcome.yMax);
    Refit();
    DrawGraph(false);
}

void GraphWindow::CancelBand() {
    // The band vanished with the window's picture; drawing it again would bring it back.
    dragging_ = false;
    bandShown_ = false;
    band_ = Rect{0, 0, 0, 0};
    Control* form = Form();
    if (form && form->WindowHandle() && GetCapture() == form->WindowHandle()) {
        ReleaseCapture();
    }
}

void GraphWindow::OnChar(Control*, int32_t& key, uint32_t) {
    if (host_.typeLetter) {
        host_.typeLetter(static_cast<char>(key));
    }
}

std::unique_ptr<GraphWindow> BuildGraphWindow(Control* form, const AnalysisHost& host) {
    if (!form) {
        return nullptr;
    }
    auto graph = std::make_unique<GraphWindow>(form, host);
    form->SetSize(400, 240);
    // Laid out now as well: without a window the resize step does not run.
    graph->axes_.Layout(FrameClientRect(form));
    graph->Refit();
    return graph;
}

}  // namespace zam
