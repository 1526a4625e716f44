#include "app/build_windows.h"

#include "app/main_window.h"
#include "app/tool_window.h"
#include "skin/skinned_form.h"

namespace zam {
namespace {

void BuildToolWindows(Application& app) {
    Control* main = app.MainForm();
    const int32_t mainLeft = main->Left();
    const int32_t mainTop = main->Top();
    const int32_t mainWidth = main->Width();

    app.CipherWindow = NewToolWindow(app, main, "Шифротекст", kItemCipherWindow, true);
    Control* cipher = app.CipherWindow->Form;
    cipher->SetSize(mainWidth, 196);
    cipher->SetPosition(mainLeft, mainTop + main->Height());

    app.AlphabetWindow = NewToolWindow(app, main, "Алфавит ", kItemAlphabetWindow, true);
    Control* alphabet = app.AlphabetWindow->Form;
    alphabet->SetSize(cipher->Width(), 84);
    alphabet->SetPosition(cipher->Left(), cipher->Top() + cipher->Height());

    app.PlainWindow = NewToolWindow(app, main, "Открытый текст", kItemPlainWindow, true);
    Control* plain = app.PlainWindow->Form;
    plain->SetSize(alphabet->Width(), 196);
    plain->SetPosition(alphabet->Left(), alphabet->Top() + alphabet->Height());

    app.PhraseDialog = NewToolWindow(app, cipher, "Выделить в шифрограмме", 0, true);
    Control* phrase = app.PhraseDialog->Form;
    phrase->SetSize(270, 130);
    phrase->SetPosition(cipher->Left() + cipher->Width() / 2 - phrase->Width() / 2,
                        cipher->Top() + cipher->Height() / 2 - phrase->Height() / 2);

    app.InfoWindow = NewToolWindow(app, main, "Информация", kItemInfoWindow, true);
    app.InfoWindow->Form->SetSize(462, 662);
    app.InfoWindow->Form->SetPosition(mainWidth, 0);

    app.BigramWindow = NewToolWindow(app, main, "Биграммы", kItemBigramWindow, true);
    const int32_t captionBottom = FrameOf(cipher)->CaptionRect.bottom;
    app.BigramWindow->Form->SetSize(cipher->Width(), cipher->Width() + captionBottom - 3);
    app.BigramWindow->Form->SetPosition(mainWidth, 27);

    app.GraphWindow = NewToolWindow(app, main, "График", kItemGraphWindow, true);
    Control* graph = app.GraphWindow->Form;
    FrameOf(graph)->Sizeable = 1;
    graph->SetSizeLimit(kMinWidth, 150);
    graph->SetSizeLimit(kMinHeight, 25);
    graph->SetColor(0);
    graph->SetSize(400, 240);
    graph->SetPosition(mainWidth, 54);

    app.AboutWindow = NewToolWindow(app, app.ApplicationWindow, "О программе", 0, false);
    app.AboutWindow->Form->SetSize(290, 160);
    app.AboutWindow->Form->CenterOnParent();
}

}  // namespace

void BuildWindows(Application& app, void (*shutdown)(void*, ToolkitObject*)) {
    Control* applet = NewForm(nullptr, "Zamenor");
    app.ApplicationWindow = applet;
    applet->SetPosition(0, 0)->SetSize(1, 1);
    applet->SetIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"ZAM", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));

    BuildMainWindow(app, shutdown);
    BuildToolWindows(app);

    for (Control* frame : app.Frames) {
        frame->Show();
    }
    app.PhraseDialog->Form->Hide();
    app.AboutWindow->Form->Hide();
}

}  // namespace zam
