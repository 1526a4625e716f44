#include "analysis/about_window.h"

#include <shellapi.h>

#include "skin/skinned_form.h"
#include "toolkit/canvas.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

constexpr COLORREF kLinkColour = 0xFF3333;
constexpr COLORREF kTextColour = 0x000000;
constexpr int32_t kFontHeight = 16;
constexpr int32_t kFooterFontHeight = 12;
constexpr int32_t kValueLeft = 110;
constexpr int32_t kLinkTop = 80;
constexpr int32_t kLinkWidth = 156;  // whatever the address's length
constexpr int32_t kUnderline = 94;

bool Contains(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

AboutWindow::AboutWindow(Control* form, const AnalysisHost& host, const AboutTexts& texts)
    : form_(form), host_(host), texts_(texts) {
    if (FrameRecord* frame = FrameOf(form)) {
        frame->OnClientPaint = Bind<&AboutWindow::OnClientPaint>(this);
    }
    form->OnMouseMove = Bind<&AboutWindow::OnMouseMove>(this);
    form->OnMouseDown = Bind<&AboutWindow::OnMouseDown>(this);
    form->OnShow = Bind<&AboutWindow::OnShow>(this);
    form->OnHide = Bind<&AboutWindow::OnHide>(this);
    form->OnKeyDown = Bind<&AboutWindow::OnKeyDown>(this);
}

AboutWindow::~AboutWindow() {
    Control* form = Form();
    if (!form) {
        return;
    }
    if (FrameRecord* frame = FrameOf(form)) {
        frame->OnClientPaint = {};
    }
    form->OnMouseMove = Event<Control*, MouseEventData&>{};
    form->OnMouseDown = Event<Control*, MouseEventData&>{};
    form->OnShow = Event<Control*>{};
    form->OnHide = Event<Control*>{};
    form->OnKeyDown = Event<Control*, int32_t&, uint32_t>{};
}

// A box closes on Escape and Enter, as a message box does.
void AboutWindow::OnKeyDown(Control* form, int32_t& key, uint32_t) {
    if (key == VK_ESCAPE || key == VK_RETURN) {
        key = 0;
        form->Hide();
    }
}

Rect AboutWindow::LinkRect() const {
    Control* form = Form();
    if (!form) {
        return Rect{0, 0, 0, 0};
    }
    const Rect client = FrameClientRect(form);
    const int32_t left = client.left + kValueLeft;
    const int32_t top = client.top + kLinkTop;
    return Rect{left, top, left + kLinkWidth, top + kFontHeight};
}

void AboutWindow::OnClientPaint(Control* form, HDC dc) {
    const Rect client = FrameClientRect(form);
    const int32_t l = client.left;
    const int32_t t = client.top;
    Canvas* canvas = form->Canvas();
    canvas->SetHandle(dc);
    GraphicTool* font = canvas->Font();
    font->SetColor(kTextColour);
    font->SetFontName("Arial");
    font->SetFontStyle(0);
    font->SetFontHeight(kFontHeight);
    canvas->TextOut(l + 20, t + 10, "Версия:");
    canvas->TextOut(l + 20, t + 30, "Лицензия:");
    canvas->TextOut(l + 20, t + 60, "Разработчик:");
    canvas->TextOut(l + 20, t + 80, "Веб-сайт:");
    font->SetColor(kLinkColour);
    canvas->TextOut(l + kValueLeft, t + kLinkTop, texts_.homePage);
    font->SetColor(kTextColour);
    font->SetFontStyle(kFontBold);
    canvas->TextOut(l + kValueLeft, t + 10, "1.0");
    canvas->TextOut(l + kValueLeft, t + 30, texts_.licence);
    canvas->TextOut(l + kValueLeft, t + 60, texts_.developer);
    font->SetFontHeight(kFooterFontHeight);
    font->SetFontStyle(0);
    canvas->TextOut(l + kValueLeft, t + 110, texts_.footer);
    font->SetFontHeight(kFontHeight);
    canvas->Release();
}

void AboutWindow::OnMouseMove(Control* form, MouseEventData& data) {
    const Rect link = LinkRect();
    const Rect client = FrameClientRect(form);
    HCURSOR hand = LoadSystemCursor(SystemCursor::Hand);
    HCURSOR arrow = LoadSystemCursor(SystemCursor::Arrow);
    // Comparing the cursor first draws the underline once on entering, not on every move.
    if (Contains(link, Point{data.X, data.Y})) {
        if (form->Cursor() == hand) {
            return;
        }
        form->SetCursor(hand);
        Canvas* canvas = form->Canvas();
        canvas->Pen()->SetColor(kLinkColour);
        canvas->MoveTo(link.left, client.top + kUnderline);
        canvas->LineTo(link.right, client.top + kUnderline);
        canvas->Pen()->SetColor(kTextColour);
        canvas->Release();
        return;
    }
    if (form->Cursor() == arrow) {
        return;
    }
    form->SetCursor(arrow);
    const RECT strip{link.left, client.top + kUnderline, link.right, client.top + kUnderline + 2};
    if (HWND window = form->WindowHandle()) {
        HDC dc = GetDC(window);
        if (dc) {
            FillRect(dc, &strip, form->ControlBrush()->BrushHandle());
            ReleaseDC(window, dc);
        }
        // The address's descenders reach into the strip: they come back with the repaint.
        InvalidateRect(window, &strip, FALSE);
    }
}

void AboutWindow::OnMouseDown(Control* form, MouseEventData& data) {
    if (Contains(LinkRect(), Point{data.X, data.Y})) {
        OpenHomePage();
        return;
    }
    form->Hide();
}

void AboutWindow::OpenHomePage() {
    if (host_.shellOpen) {
        host_.shellOpen(texts_.homePage);
        return;
    }
    ShellExecuteW(GetDesktopWindow(), L"open", Widen(texts_.homePage).c_str(), nullptr, L"",
                  SW_SHOWNORMAL);
}

void AboutWindow::SetPeersEnabled(bool enabled) {
    if (!host_.modalPeers) {
        return;
    }
    for (Control* peer : host_.modalPeers()) {
        if (peer && peer != Form()) {
            peer->SetEnabled(enabled);
        }
    }
}

void AboutWindow::OnShow(Control*) {
    SetPeersEnabled(false);
}

void AboutWindow::OnHide(Control*) {
    SetPeersEnabled(true);
}

std::unique_ptr<AboutWindow> BuildAboutWindow(Control* form, const AnalysisHost& host,
                                              const AboutTexts& texts) {
    if (!form) {
        return nullptr;
    }
    return std::make_unique<AboutWindow>(form, host, texts);
}

}  // namespace zam
