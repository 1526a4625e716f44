// The running program as a user meets it: the window set after start-up, the commands of the
// toolbar and the menu, the settings file between runs and every end of the run.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "skin/skinned_form.h"
#include "tests/windows/app_fixture.h"
#include "toolkit/application.h"
#include "toolkit/heap_count.h"
#include "workspace/operations.h"

namespace zam {
namespace {

using test::Inspecting;
using test::PressButton;
using test::Pump;
using test::PumpUntilQuit;
using test::WindowDriver;
using test::WindowText;
using test::Zamenor;

struct Place {
    int left, top, width, height;
    bool operator==(const Place&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Place& p) {
    return out << p.left << "," << p.top << " " << p.width << "x" << p.height;
}
Place PlaceOf(const Control* form) {
    return {form->Left(), form->Top(), form->Width(), form->Height()};
}

std::string Flags(int from, int count, char c) {
    return std::string(static_cast<size_t>(from), '1') + std::string(static_cast<size_t>(count), c);
}

void ClickReally(Control* button) {
    HWND window = button->Handle();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(Zamenor, StartsWithTheDefaultLayoutThenWindowModeSchemeAndHelpCommands) {
    Start();
    ASSERT_EQ(app_->Frames().size(), 9u);
    const std::pair<const char*, Place> expected[] = {
        {"Zamenor", {0, 0, 527, 78}},           {"frmMenu", {3, 26, 368, 18}},
        {"Шифротекст", {0, 78, 527, 196}},      {"Алфавит ", {0, 274, 527, 84}},
        {"Открытый текст", {0, 358, 527, 196}}, {"Выделить в шифрограмме", {128, 111, 270, 130}},
        {"Информация", {527, 0, 462, 662}},     {"Биграммы", {527, 27, 527, 548}},
        {"График", {527, 54, 400, 240}},
    };
    for (int k = 0; k < 9; ++k) {
        const Control* frame = app_->Frames()[static_cast<size_t>(k)];
        EXPECT_EQ(frame->Caption(), expected[k].first) << k;
        EXPECT_EQ(PlaceOf(frame), expected[k].second) << k;
        EXPECT_EQ(frame->Visible(), k != 5) << k;
    }
    EXPECT_FALSE(app_->AboutWindow->Form->Visible());
    for (int32_t item : {kItemCipherWindow, kItemAlphabetWindow, kItemPlainWindow, kItemBigramWindow,
                         kItemGraphWindow, kItemInfoWindow, kItemHiliteCurrent, kItemHiliteSelected,
                         kItemHiliteCurrentBigram, kItemHiliteSelectedBigram, kItemHilitePhrase,
                         kItemBlackScheme})
        EXPECT_TRUE(Checked(item)) << item;
    EXPECT_FALSE(Checked(kItemYellowScheme));

    // The menu strip rides with the main window.
    Control* main = app_->MainForm();
    main->SetPosition(100, 40);
    Pump();
    EXPECT_EQ(PlaceOf(app_->MenuWindow->Form), (Place{103, 66, 368, 18}));
    EXPECT_EQ(PlaceOf(app_->CipherWindow->Form), (Place{0, 78, 527, 196}));

    // Window items follow the windows however they change; the mode items switch the workspace,
    // the schemes the palette; the guide is where the program started. The close button only
    // hides; the toolbar brings the window back.
    Control* cipher = app_->CipherWindow->Form;
    FrameOf(cipher)->CloseButton->Click();
    Pump();
    EXPECT_FALSE(Checked(kItemCipherWindow));
    ClickButton(kBtnLocked);
    EXPECT_TRUE(cipher->Visible());
    EXPECT_TRUE(Checked(kItemCipherWindow));
    const std::pair<ToolbarButton, ToolWindowRecord*> shows[] = {
        {kBtnAlph, app_->AlphabetWindow.get()}, {kBtnUnLocked, app_->PlainWindow.get()},
        {kBtnGraph, app_->GraphWindow.get()},   {kBtnDbl, app_->BigramWindow.get()},
        {kBtnInfo, app_->InfoWindow.get()},     {kBtnFind, app_->PhraseDialog.get()}};
    for (auto [button, window] : shows) {
        window->Form->Hide();
        ClickButton(button);
        EXPECT_TRUE(window->Form->Visible()) << window->Form->Caption();
    }

    Workspace& ws = Ws();
    const std::pair<int32_t, bool*> switches[] = {
        {kItemHiliteCurrent, &ws.HiliteCurrent},
        {kItemHiliteSelected, &ws.HiliteSelected},
        {kItemHiliteCurrentBigram, &ws.HiliteCurrentBigram},
        {kItemHiliteSelectedBigram, &ws.HiliteSelectedBigram},
        {kItemHilitePhrase, &ws.HilitePhrase}};
    for (auto [item, flag] : switches) {
        Choose(item);
        EXPECT_FALSE(*flag) << item;
        EXPECT_FALSE(Checked(item)) << item;
    }
    Choose(kItemYellowScheme);
    EXPECT_FALSE(Checked(kItemBlackScheme));
    EXPECT_EQ(app_->Palette[4], 0x777777u);
    Choose(kItemBlackScheme);
    EXPECT_EQ(app_->Palette[4], 0x6ECCFFu);

    // Wherever a file dialog has been since.
    const test::TempDir elsewhere(L"elsewhere");
    SetCurrentDirectoryW(elsewhere.Path().c_str());
    Choose(kItemHelp);
    Choose(kItemHomePage);
    ASSERT_EQ(test::shellOpened.size(), 2u);
    EXPECT_EQ(test::shellOpened[0], (dir_.Path() / L"Help\\index.htm").wstring());
    EXPECT_EQ(test::shellOpened[1].rfind(L"https://", 0), 0u);
}

// Without a text neither a clear nor a save asks anything.
TEST_F(Zamenor, ClearingAsksOnlyFromTheToolbarAndOnlyWithAText) {
    Start();
    Workspace& ws = Ws();
    {
        WindowDriver none({});
        ClickButton(kBtnNew);
        Choose(kItemSave);
        LoadText("АБВ_ВБА\r\n");
        Assign(ws, app_->Screen, 'А', 'О');
        ws.History.MarkSaved(KeyOf(ws));  // saved work goes from the menu without a question
        Choose(kItemClear);
        EXPECT_EQ(ws.PlainText.text[0], kNoLetter);
        EXPECT_TRUE(none.Unexpected().empty());
    }

    Assign(ws, app_->Screen, 'А', 'О');
    std::wstring asked;
    for (int button : {IDNO, IDYES}) {
        WindowDriver driver({Inspecting(
            [&](HWND box) { asked = WindowText(box) + L": " + test::MessageText(box); },
            [button](HWND box) { PressButton(box, button); })});
        ClickButton(kBtnNew);
        EXPECT_EQ(ws.PlainText.text[0], button == IDNO ? 'О' : kNoLetter);
    }
    EXPECT_EQ(asked, L"ВНИМАНИЕ: Вы уверены что хотите сбросить результат дешифрования?");
    EXPECT_EQ(ws.CipherText.text, "АБВ_ВБА");
}

TEST_F(Zamenor, SettingsRoundTripThroughARestart) {
    Start();
    app_->MainForm()->SetPosition(-40, 10);
    app_->InfoWindow->Form->SetPosition(600, 200);
    app_->GraphWindow->Form->SetBoundsRect({300, 320, 700, 520});
    app_->BigramWindow->Form->Hide();
    Choose(kItemHiliteSelected);
    Choose(kItemYellowScheme);
    std::vector<Place> before;
    for (const Control* frame : app_->Frames())
        before.push_back(PlaceOf(frame));
    Choose(kItemExit);
    EXPECT_EQ(SettingsBytes().substr(0, 12), "111101101111");
    Stop();

    Start();
    for (size_t k = 0; k < 9; ++k)
        EXPECT_EQ(PlaceOf(app_->Frames()[k]), before[k]) << k;
    EXPECT_FALSE(app_->BigramWindow->Form->Visible());
    EXPECT_FALSE(Ws().HiliteSelected);
    EXPECT_TRUE(Checked(kItemYellowScheme));
    EXPECT_EQ(app_->Palette[3], 0x5ECCFFu);
}

TEST_F(Zamenor, DamagedOrUnusableSettingsFallBackToTheDefaults) {
    std::string place(4, '\0');
    place[0] = 50;  // left 50, top 0
    const std::string cases[] = {
        "", Flags(6, 6, ' ') + place,        // a space as seventh byte
        Flags(11, 1, '\n') + place,          // a line end as twelfth byte
        Flags(11, 1, '0') + place + "\x01",  // cut inside the menu strip's record
    };
    for (const std::string& bytes : cases) {
        Start(&bytes);
        EXPECT_EQ(PlaceOf(app_->CipherWindow->Form), (Place{0, 78, 527, 196}));
        EXPECT_TRUE(Checked(kItemHiliteSelected));
        EXPECT_TRUE(Checked(kItemBlackScheme)) << bytes.size();
        Stop();
    }
    // A window saved off every monitor (the information window) comes back at its default place;
    // one partly off (the main window) keeps its place.
    std::string offScreen = Flags(12, 0, '1');
    for (int left : {-20, 0, 0, 0, 0, 0, 30000, 0, 0})
        offScreen += {static_cast<char>(left), static_cast<char>(left >> 8), '\0', '\0'};
    offScreen += std::string(4, '\0');  // no size: the graph window keeps its own
    Start(&offScreen);
    EXPECT_EQ(PlaceOf(app_->InfoWindow->Form), (Place{527, 0, 462, 662}));
    EXPECT_EQ(app_->MainForm()->Left(), -20);
    EXPECT_EQ(PlaceOf(app_->GraphWindow->Form), (Place{0, 0, 400, 240}));
}

// The application window's close (its taskbar button while minimised) ends the loop without
// the main window's close: the settings must still be what the user saw, not the torn-down tree.
TEST_F(Zamenor, MinimiseAndRestoreThenClosingWhileMinimisedSavesWhatTheUserSaw) {
    const std::int64_t before = LiveHeapBytes();
    Start();
    Choose(kItemGraphWindow);  // hidden by the user: stays hidden after a restore
    Choose(kItemHiliteCurrent);
    ClickReally(FrameOf(app_->MainForm())->MinButton);
    Pump();
    HWND applet = app_->ApplicationWindow->WindowHandle();
    EXPECT_TRUE(IsIconic(applet));
    for (Control* frame : app_->Frames())
        EXPECT_FALSE(frame->Visible()) << frame->Caption();

    SendMessageW(applet, WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(applet));
    for (Control* frame : app_->Frames()) {
        const bool hidden = frame == app_->GraphWindow->Form || frame == app_->PhraseDialog->Form;
        EXPECT_EQ(frame->Visible(), !hidden) << frame->Caption();
    }
    EXPECT_FALSE(Checked(kItemGraphWindow));

    ClickReally(FrameOf(app_->MainForm())->MinButton);
    Pump();
    PostMessageW(applet, WM_CLOSE, 0, 0);
    RunApplication(app_->ApplicationWindow);  // frees the window tree when the loop ends
    EXPECT_EQ(app_->ShutdownRuns, 1);
    app_.reset();
    EXPECT_EQ(SettingsBytes().substr(0, 12), "111110011110");
    EXPECT_EQ(SettingsBytes().size(), 52u);
    EXPECT_EQ(LiveHeapBytes(), before);
}

// A form freed under its record (its owner went first) leaves the record knowing: commands,
// the about box's disabling of the others and the shutdown pass it over.
TEST_F(Zamenor, ARecordLearnsWhenItsFormGoes) {
    Start();
    Free(app_->CipherWindow->Form);  // takes the phrase dialog, which it owns, with it
    Pump();
    EXPECT_EQ(app_->PhraseDialog->Form, nullptr);
    ClickButton(kBtnFind);
    ClickButton(kBtnLocked);
    Choose(kItemAbout);
    LoadText("АБВ\r\n");
    Send(kItemExit);
    EXPECT_TRUE(PumpUntilQuit());
    EXPECT_EQ(SettingsBytes().size(), 52u);
}

TEST_F(Zamenor, NoCommandStartsWhileADialogOrQuestionRuns) {
    Start();
    LoadText("АБВ_ВБА");
    std::vector<Control*> forms;
    for (WindowRecord* record : app_->Records())
        forms.push_back(record->Form);
    const auto tryEverything = [&](HWND) {
        for (Control* form : forms)
            EXPECT_FALSE(IsWindowEnabled(form->WindowHandle())) << form->Caption();
        Send(kItemOpen);
        Send(kItemSave);
        Send(kItemClear);
        ToolbarClick(*app_, app_->MainWindow->Buttons[kBtnLoad]);
        ToolbarClick(*app_, app_->MainWindow->Buttons[kBtnNew]);
    };
    for (auto [button, answer] : {std::pair{kBtnLoad, IDCANCEL}, {kBtnNew, IDNO}}) {
        WindowDriver driver({Inspecting(tryEverything, [answer](HWND box) { PressButton(box, answer); })});
        ClickButton(button);
        EXPECT_EQ(driver.Handled(), 1);
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    EXPECT_EQ(Ws().CipherText.text, "АБВ_ВБА");
    for (Control* form : forms)
        EXPECT_TRUE(IsWindowEnabled(form->WindowHandle())) << form->Caption();
}

// The end of the session reaches the real program as Windows sends it, to each of its top-level
// windows: the layout is saved from the windows as they stand, not from a torn-down tree.
TEST(ZamenorProcess, TheEndOfTheSessionSavesTheLayout) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path exe = std::filesystem::path(self).parent_path() / L"zamenor.exe";
    const test::TempDir dir(L"session");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe.wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               dir.Path().c_str(), &startup, &process));
    const auto find = [&process](const wchar_t* title) {
        HWND window = FindWindowW(nullptr, title);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        return pid == process.dwProcessId ? window : nullptr;
    };
    HWND main = nullptr, graph = nullptr;
    for (int tries = 0; tries < 200 && !(main && graph); ++tries) {
        Sleep(50);
        main = find(L"Zamenor");
        graph = find(L"График");
    }
    ASSERT_TRUE(main && graph);
    // Both wait for the program's loop: the close hides the graph, a layout of the user's own.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(graph, WM_CLOSE, 0, 0, SMTO_BLOCK, 5000, &result);
    SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 5000, &result);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string settings = test::ReadBytes(dir.Path() / L"settings.ini");
    EXPECT_EQ(settings.size(), 52u);
    EXPECT_EQ(settings.substr(0, 12), "111110111110");
}

// A file named on the command line (as "Open with" starts the program) or dropped on any of
// its windows opens exactly as the open command would.
TEST_F(Zamenor, FilesFromTheCommandLineAndFromADropOpenAsTheOpenCommandWould) {
    Start();
    std::filesystem::create_directory(dir_ / L"папка с пробелом");
    const std::filesystem::path named = dir_ / L"папка с пробелом" / L"код.txt";
    test::WriteBytes(named, "АБВ\r\n");
    OpenCommandLineFile(*app_, (L"zamenor.exe \"" + named.wstring() + L"\"").c_str());
    EXPECT_EQ(Ws().CipherText.text, "АБВ");
    EXPECT_EQ(Title(), L"Zamenor - код.txt");

    // Of several dropped files the first opens, wherever they land.
    test::WriteBytes(dir_ / L"first.txt", "ГДЕ\r\n");
    test::Drop(app_->PlainWindow->Form, {dir_ / L"first.txt", named});
    EXPECT_EQ(Ws().CipherText.text, "ГДЕ");
}

}  // namespace
}  // namespace zam
