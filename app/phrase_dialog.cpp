#include "app/phrase_dialog.h"

#include "skin/skinned_form.h"
#include "toolkit/canvas.h"
#include "toolkit/encoding.h"
#include "toolkit/graphic_tool.h"
#include "workspace/phrase.h"

namespace zam {
namespace {

constexpr Rect kEditFrame{185, 46, 243, 72};
constexpr Rect kEditBox{190, 50, 240, 70};
constexpr int32_t kHighlightButton = 0;
constexpr int32_t kRemoveButton = 1;

Control* BottomButton(Control* form, int32_t index) {
    FrameRecord* frame = FrameOf(form);
    return frame ? frame->BottomButton(static_cast<size_t>(index)) : nullptr;
}

void PaintLabelAndFrame(const ColourPalette& palette, Control* form, HDC dc) {
    Canvas* canvas = form->Canvas();
    canvas->SetHandle(dc);
    GraphicTool* brush = canvas->Brush();
    const COLORREF formColour = brush->Color();
    brush->SetBrushStyle(kBrushClear);
    canvas->TextOut(30, 50, "Фраза для выделения:");
    brush->SetBrushStyle(kBrushSolid);
    brush->SetColor(palette[kBorderEntry]);
    canvas->FillRect(kEditFrame);
    brush->SetColor(formColour);
    canvas->Release();
}

// Only cipher symbols go into the box, folded (its own upper case follows the system code
// page), so that Enter always has a phrase to highlight; anything else is refused with a beep
// as it is typed. Control characters (Backspace, Ctrl+V...) stay the box's.
bool FilterTyped(Control*, Message& message) {
    if (message.Msg != WM_CHAR || message.WParam < 0x20 || message.WParam == 0x7F) {
        return false;
    }
    const std::optional<char> byte =
        CodePointTo1251(static_cast<char32_t>(message.WParam & 0xFFFF));
    const char symbol = byte ? PhraseSymbolOfTyped(*byte) : 0;
    if (symbol == 0) {
        MessageBeep(MB_OK);
        message.Result = 0;
        return true;
    }
    message.WParam = Cp1251ToCodePoint(static_cast<unsigned char>(symbol));
    return false;
}

void KeyDown(PhraseDialogRecord& dialog, Control*, int32_t& key, uint32_t) {
    if ((key != VK_RETURN && key != VK_ESCAPE) || !dialog.Form) {
        return;
    }
    Control* button =
        BottomButton(dialog.Form, key == VK_RETURN ? kHighlightButton : kRemoveButton);
    key = 0;  // the box would beep at both
    if (button) {
        button->Click();
    }
}

void ButtonClicked(PhraseDialogRecord& dialog, Control* sender) {
    Application& app = *dialog.Owner;
    Control* form = dialog.Form;
    if (!form || !app.Ws) {
        return;
    }
    Workspace& ws = *app.Ws;
    if (!ws.CipherText.text.empty()) {
        std::string next;
        if (sender == BottomButton(form, kHighlightButton)) {
            const auto phrase = PhraseFromEditText(dialog.Edit ? dialog.Edit->Caption() : "");
            if (!phrase) {
                // Not all cipher symbols: nothing changes, and the text stays to be put right.
                MessageBeep(MB_OK);
                return;
            }
            next = *phrase;
        }
        const std::string old = std::move(ws.Phrase);
        ws.Phrase = std::move(next);
        RedrawOverlayOccurrences(ws, app.Screen, old, ws.Phrase);
    }
    form->Hide();
}

}  // namespace

void PhraseDialogRecord::Shown() {
    if (HWND box = Edit ? Edit->WindowHandle() : nullptr) {
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
    }
}

void AttachPhraseDialog(Application& app, PhraseDialogRecord& record) {
    Control* form = record.Form;
    if (FrameRecord* frame = FrameOf(form)) {
        frame->OnClientPaint = Bind<&PaintLabelAndFrame>(app.Palette);
    }
    Control* edit = NewEditBox(form, kEditNoHScroll | kEditNoVScroll);
    // No scroll bars in so small a box, but the text may run on past its edge.
    edit->SetStyle(edit->Style() | ES_AUTOHSCROLL);
    edit->SetBoundsRect(kEditBox);
    edit->HasBorder(false);
    edit->SetColor(app.Palette[kBorderEntry]);
    edit->TabStop = true;  // showing the dialog puts the caret into the box
    edit->AttachMessageHandler(&FilterTyped);
    record.Edit = edit;
    AddBottomButtons(form, {"Выделить", "Снять выделение"}, true);

    const auto keyDown = Bind<&KeyDown>(record);
    const auto click = Bind<&ButtonClicked>(record);
    form->OnKeyDown = keyDown;
    edit->OnKeyDown = keyDown;
    for (int32_t index : {kHighlightButton, kRemoveButton}) {
        if (Control* button = BottomButton(form, index)) {
            button->OnKeyDown = keyDown;
            button->OnClick = click;
        }
    }
}

}  // namespace zam
