#include "app/build_windows.h"

#include "analysis/info_window.h"
#include "app/alphabet_window.h"
#include "app/analysis_records.h"
#include "app/app_config.h"
#include "app/bigram_window.h"
#include "app/main_menu_template.h"
#include "app/main_window.h"
#include "app/phrase_dialog.h"
#include "app/text_window.h"
#include "app/tool_window.h"
#include "skin/skinned_form.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

void BuildToolWindows(Application& app) {
    Control* main = app.MainForm();
    const int32_t mainLeft = main->Left();
    const int32_t mainTop = main->Top();
    const int32_t mainWidth = main->Width();

    auto* cipherRecord =
        NewToolWindow<TextWindowRecord>(app, app.CipherWindow, main, "Шифротекст", kItemCipherWindow);
    Control* cipher = cipherRecord->Form;
    cipher->SetSize(mainWidth, 196);
    cipher->SetPosition(mainLeft, mainTop + main->Height());
    AttachTextView(app, *cipherRecord, app.Ws->CipherText);

    auto* alphabetRecord =
        NewToolWindow<AlphabetWindowRecord>(app, app.AlphabetWindow, main, "Алфавит ", kItemAlphabetWindow);
    Control* alphabet = alphabetRecord->Form;
    alphabet->SetSize(cipher->Width(), 84);
    alphabet->SetPosition(cipher->Left(), cipher->Top() + cipher->Height());
    AttachAlphabetView(app, *alphabetRecord);

    auto* plainRecord =
        NewToolWindow<TextWindowRecord>(app, app.PlainWindow, main, "Открытый текст", kItemPlainWindow);
    Control* plain = plainRecord->Form;
    plain->SetSize(alphabet->Width(), 196);
    plain->SetPosition(alphabet->Left(), alphabet->Top() + alphabet->Height());
    AttachTextView(app, *plainRecord, app.Ws->PlainText);

    auto* phraseRecord =
        NewToolWindow<PhraseDialogRecord>(app, app.PhraseDialog, cipher, "Выделить в шифрограмме", 0);
    Control* phrase = phraseRecord->Form;
    phrase->SetSize(270, 130);
    phrase->SetPosition(cipher->Left() + cipher->Width() / 2 - phrase->Width() / 2,
                        cipher->Top() + cipher->Height() / 2 - phrase->Height() / 2);
    AttachPhraseDialog(app, *phraseRecord);

    NewToolWindow(app, app.InfoWindow, main, "Информация", kItemInfoWindow);
    app.InfoWindow->Form->SetSize(462, 662);
    app.InfoWindow->Form->SetPosition(mainWidth, 0);
    BuildInfoWindow(app.InfoWindow->Form, &app.Palette);

    auto* bigramRecord =
        NewToolWindow<BigramWindowRecord>(app, app.BigramWindow, main, "Биграммы", kItemBigramWindow);
    const int32_t captionBottom = FrameOf(cipher)->CaptionRect.bottom;
    bigramRecord->Form->SetSize(cipher->Width(), cipher->Width() + captionBottom - 3);
    bigramRecord->Form->SetPosition(mainWidth, 27);
    AttachBigramView(app, *bigramRecord);

    NewToolWindow<GraphWindowRecord>(app, app.GraphWindow, main, "График", kItemGraphWindow);
    Control* graph = app.GraphWindow->Form;
    FrameOf(graph)->Sizeable = 1;
    graph->SetSizeLimit(kMinWidth, 150);
    graph->SetSizeLimit(kMinHeight, 25);
    graph->SetColor(0);
    graph->SetPosition(mainWidth, 54);
    app.GraphWindow->Graph = BuildGraphWindow(graph, app.Host);

    NewToolWindow<AboutWindowRecord>(app, app.AboutWindow, app.ApplicationWindow, "О программе", 0);
    app.AboutWindow->Form->SetSize(290, 160);
    app.AboutWindow->Form->CenterOnParent();
    // No menu item to follow: the box's own show and hide disable and enable the others.
    app.AboutWindow->Form->OnShow = {};
    app.AboutWindow->Form->OnHide = {};
    app.AboutWindow->About =
        BuildAboutWindow(app.AboutWindow->Form, app.Host,
                         AboutTexts{std::string(kLicence), std::string(kDeveloper),
                                    std::string(kFooter), std::string(kHomePageAddress)});
}

void PrepareHost(Application& app) {
    AnalysisHost& host = app.Host;
    host.ws = app.Ws.get();
    host.display = &app.Screen;
    host.palette = &app.Palette;
    host.typeLetter = [&app](char letter) { TypeLetter(app, letter); };
    host.shellOpen = [&app](std::string_view target) { app.ShellOpen(Widen(target)); };
    host.modalPeers = [&app] { return app.Frames(); };
}

}  // namespace

void BuildWindows(Application& app, Event<ToolkitObject*> shutdown) {
    Control* applet = NewForm(nullptr, "Zamenor");
    app.ApplicationWindow = applet;
    applet->SetPosition(0, 0)->SetSize(1, 1);
    applet->SetIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"ZAM", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));

    PrepareHost(app);
    BuildMainWindow(app, shutdown);
    BuildToolWindows(app);

    for (Control* frame : app.Frames()) {
        frame->Show();
    }
    app.PhraseDialog->Form->Hide();
    app.AboutWindow->Form->Hide();
}

}  // namespace zam
