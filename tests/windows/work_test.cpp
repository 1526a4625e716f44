// Never losing work: the key button's proposal and all memory back after it, undo and
// redo, the question before unsaved work goes on every route, save back and save as, each
// through the program's real windows, keys and dialogs.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/alphabet_window.h"
#include "skin/skinned_form.h"
#include "solver/key_solver.h"
#include "tests/windows/app_fixture.h"
#include "toolkit/application.h"
#include "toolkit/heap_count.h"

namespace zam {
namespace {

using test::Accept;
using test::Inspecting;
using test::PressButton;
using test::PressKey;
using test::Pump;
using test::Step;
using test::Type;
using test::WindowDriver;

// Answers the question about unsaved work, and remembers what it asked and its buttons.
Step Answer(int button, std::wstring* asked = nullptr) {
    return Inspecting(
        [asked](HWND box) {
            if (asked) {
                *asked = test::MessageText(box) + L" | " + test::ItemText(box, IDYES) +
                         L" " + test::ItemText(box, IDNO) + L" " + test::ItemText(box, IDCANCEL);
            }
        },
        [button](HWND box) { PressButton(box, button); });
}

class Work : public test::Zamenor {
protected:
    // The cipher text of kPlain, opened from code.txt, with its first letter given.
    void OpenWithOneLetter() {
        cipher_ = test::Encrypted(test::kPlain);
        LoadText(cipher_ + "\r\n");
        GiveLetter(0);
    }
    // The user types the cipher letter at position i, then its plaintext letter.
    void GiveLetter(size_t i, char letter = 0) {
        Type(app_->AlphabetWindow->Form, cipher_[i]);
        Type(app_->AlphabetWindow->Form, letter ? letter : test::kPlain[i]);
    }
    std::string Saved() { return test::ReadBytes(result_); }
    bool Enabled(int32_t item) { return ItemEnabled(Item(item)); }
    std::string cipher_;
    std::filesystem::path result_ = dir_ / L"-code.txt";
};

// The key button proposes the rest and keeps the user's letters, and the free row shows what
// a full repaint shows. The solver's tables are the program's memory like any other: the run
// ends through the real close and gives all of it back.
TEST_F(Work, TheKeyButtonProposesTheRestThenTheRealCloseLeavesNoMemoryReport) {
    ReleaseSolverTables();  // as at the start of a process, whatever ran before here
    cipher_ = test::Encrypted(test::kPlain);
    const std::int64_t before = LiveHeapBytes();
    Start();
    ClickButton(kBtnSolve);  // nothing to solve
    LoadText(cipher_ + "\r\n");
    GiveLetter(0, 'Ж');  // wrong, but the user's
    ClickButton(kBtnSolve);
    EXPECT_EQ(Ws().KeyTable.key[SymbolColumn(cipher_[0])], 'Ж');
    ASSERT_EQ(Ws().PlainText.text.find(kNoLetter), std::string::npos);
    int right = 0;
    for (size_t i = 0; i < test::kPlain.size(); ++i)
        right += Ws().PlainText.text[i] == test::kPlain[i];
    EXPECT_GT(right, static_cast<int>(test::kPlain.size()) * 8 / 10);
    {
        auto& letters = *static_cast<AlphabetView*>(Ws().KeyTable.view);
        const Rect row{AlphabetCellRect(3, 1).left, AlphabetCellRect(3, 1).top,
                       AlphabetCellRect(3, 30).right, AlphabetCellRect(3, 30).bottom};
        const std::vector<COLORREF> shown = test::CellPixels(letters.Surface(), row);
        letters.Invalidate();
        EXPECT_TRUE(test::CellPixels(letters.Surface(), row) == shown);
    }
    {
        WindowDriver driver({Answer(IDNO)});  // the proposal is unsaved work
        FrameOf(app_->MainForm())->CloseButton->Click();
        Pump();
        EXPECT_EQ(driver.Handled(), 1);
    }
    EXPECT_EQ(app_->ShutdownRuns, 1);
    Stop();
    EXPECT_EQ(LiveHeapBytes(), before);
}

// Keys and menu items undo and redo one step at a time, the key button's letters as one step.
TEST_F(Work, UndoAndRedoByKeysAndMenuGiveBackTheKeyOfEachStep) {
    Start();
    EXPECT_FALSE(Enabled(kItemUndo));
    OpenWithOneLetter();
    {
        WindowDriver driver({Accept(result_.wstring())});
        PressKey(app_->CipherWindow->Form, 'S', true);
    }
    const std::string one = Saved();
    GiveLetter(1);
    PressKey(app_->PlainWindow->Form, 'S', true);  // writes back without a dialog
    const std::string two = Saved();
    ASSERT_NE(one, two);

    PressKey(app_->CipherWindow->Form, 'Z', true);
    EXPECT_TRUE(Enabled(kItemRedo));
    EXPECT_EQ(FormatResultFile(Ws()), one);
    PressKey(app_->AlphabetWindow->Form, 'Y', true);
    EXPECT_EQ(FormatResultFile(Ws()), two);

    ClickButton(kBtnSolve);
    const std::string solved = FormatResultFile(Ws());
    Choose(kItemUndo);  // every proposed letter goes at once
    EXPECT_EQ(FormatResultFile(Ws()), two);
    Choose(kItemRedo);
    Choose(kItemSave);
    EXPECT_EQ(Saved(), solved);

    GiveLetter(2);
    // A clear is one step; opening a file starts a new history.
    {
        WindowDriver driver({Answer(IDNO)});
        Choose(kItemClear);
    }
    Choose(kItemUndo);
    EXPECT_NE(Ws().KeyTable.key[SymbolColumn(cipher_[2])], kNoLetter);
    {
        WindowDriver driver({Answer(IDNO)});
        test::Drop(app_->BigramWindow->Form, {result_});
    }
    EXPECT_FALSE(Enabled(kItemUndo));
    EXPECT_FALSE(Enabled(kItemRedo));
}

enum class Route { CloseButton, ExitItem, AltF4OnStrip, AppletClose, LogOff, OpenItem, Drop, Clear };
enum class Reply { SaveIt, SaveCancelled, DontSave, CancelIt };

// What the user sees once a close was answered and the program still runs.
struct AfterRefusal {
    bool seen = false;
    int32_t shutdownRuns = 0;
    bool mainUsable = false;  // shown and enabled
    bool settingsWritten = false;
    std::string work;
};

class Question : public Work, public ::testing::WithParamInterface<std::tuple<Route, Reply>> {
protected:
    bool Closes(Route route) const { return route <= Route::AppletClose; }

    // A close is refused only while the program's own loop runs: the route is taken there,
    // and once every dialog is done and nothing else is open, what shows is noted and the
    // loop is ended.
    void CloseInTheLoop(Route route, int steps, const WindowDriver& driver) {
        HWND strip = app_->MenuWindow->Form->WindowHandle();
        if (route == Route::CloseButton) {
            HWND closeButton = FrameOf(app_->MainForm())->CloseButton->Handle();
            PostMessageW(closeButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            PostMessageW(closeButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        } else if (route == Route::ExitItem) {
            PostMessageW(strip, WM_COMMAND, static_cast<WPARAM>(Item(kItemExit)->CommandId()), 0);
        } else if (route == Route::AltF4OnStrip) {
            PostMessageW(strip, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
            PostMessageW(app_->ApplicationWindow->WindowHandle(), WM_CLOSE, 0, 0);
        }
        probing_ = this;
        driver_ = &driver;
        steps_ = steps;
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, &Probe);
        // A route that neither asks nor closes would leave the loop running for ever: a failure,
        // not a hung run.
        const UINT_PTR limit = SetTimer(nullptr, 0, 30000, &GiveUp);
        RunApplication(app_->ApplicationWindow);  // frees the window tree when the loop ends
        KillTimer(nullptr, limit);
        KillTimer(nullptr, timer);
        probing_ = nullptr;
    }
    static void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
        ADD_FAILURE() << "the program's loop was still running 30 s after the close";
        PostQuitMessage(0);
    }
    static void CALLBACK Probe(HWND, UINT, UINT_PTR, DWORD) {
        Question* self = probing_;
        if (!self || self->app_->ModalDepth > 0 || driver_->Handled() < steps_ ||
            self->after_.seen) {
            return;
        }
        Application& app = *self->app_;
        AfterRefusal& after = self->after_;
        after.seen = true;
        after.shutdownRuns = app.ShutdownRuns;
        if (app.ShutdownRuns == 0) {
            HWND main = app.MainForm()->WindowHandle();
            after.mainUsable = IsWindowVisible(main) && IsWindowEnabled(main);
            after.work = FormatResultFile(*app.Ws);
        }
        after.settingsWritten = std::filesystem::exists(self->dir_ / L"settings.ini");
        PostQuitMessage(0);
    }
    void Take(Route route) {
        if (route == Route::LogOff) {
            endAllowed_ = SendMessageW(app_->ApplicationWindow->WindowHandle(), WM_QUERYENDSESSION,
                                       0, ENDSESSION_LOGOFF) != FALSE;
        } else if (route == Route::OpenItem) {
            Send(kItemOpen);
        } else if (route == Route::Drop) {
            test::Drop(app_->CipherWindow->Form, {other_});
        } else {
            Send(kItemClear);
        }
        Pump();
    }

    static inline Question* probing_ = nullptr;
    static inline const WindowDriver* driver_ = nullptr;
    static inline int steps_ = 0;
    std::filesystem::path other_ = dir_ / L"other.txt";
    bool endAllowed_ = true;
    AfterRefusal after_;
};

// Unsaved work is asked about before any route throws it away: Yes saves (and a cancelled
// save cancels the route), No goes on, Cancel keeps everything as it was, the program running.
TEST_P(Question, BeforeUnsavedWorkGoes) {
    const auto [route, reply] = GetParam();
    test::WriteBytes(other_, "АБВ\r\n");
    Start();
    OpenWithOneLetter();
    const std::string keyBefore = FormatResultFile(Ws());

    std::wstring asked;
    const int button = reply == Reply::CancelIt ? IDCANCEL : reply == Reply::DontSave ? IDNO : IDYES;
    std::vector<Step> steps{Answer(button, &asked)};
    if (reply == Reply::SaveIt) {
        steps.push_back(Accept(result_.wstring()));
    } else if (reply == Reply::SaveCancelled) {
        steps.push_back(test::Cancel());
    }
    const bool goesOn = reply == Reply::SaveIt || reply == Reply::DontSave;
    if (route == Route::OpenItem && goesOn) {
        steps.push_back(Accept(other_.wstring()));
    }
    {
        WindowDriver driver(steps);
        if (Closes(route)) {
            CloseInTheLoop(route, static_cast<int>(steps.size()), driver);
        } else {
            Take(route);
        }
        EXPECT_EQ(driver.Handled(), static_cast<int>(steps.size()));
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    EXPECT_EQ(asked, L"Сохранить изменения в «code.txt»? | &Да &Нет Отмена");
    EXPECT_EQ(std::filesystem::exists(result_), reply == Reply::SaveIt);
    if (reply == Reply::SaveIt) {
        EXPECT_EQ(Saved(), keyBefore);
    }
    if (route == Route::LogOff) {
        EXPECT_EQ(endAllowed_, goesOn);
    } else if (Closes(route)) {
        if (goesOn) {
            // Ended by the route itself: the program was gone before anything could be seen
            // (the application window's close shuts down only once its quit comes through).
            EXPECT_TRUE(!after_.seen || after_.shutdownRuns == 1 || route == Route::AppletClose);
        } else {
            ASSERT_TRUE(after_.seen);
            EXPECT_EQ(after_.shutdownRuns, 0);
            EXPECT_TRUE(after_.mainUsable);
            EXPECT_FALSE(after_.settingsWritten);
            EXPECT_EQ(after_.work, keyBefore);
        }
        EXPECT_EQ(app_->ShutdownRuns, 1);
        app_.reset();
        EXPECT_EQ(SettingsBytes().size(), 52u);  // written as on any end of the run
    } else if (!goesOn) {
        EXPECT_EQ(FormatResultFile(Ws()), keyBefore);
    } else if (route == Route::Clear) {
        EXPECT_EQ(Ws().PlainText.text, std::string(cipher_.size(), kNoLetter));
    } else {
        EXPECT_EQ(Ws().CipherText.text, "АБВ");
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRouteAndReply, Question,
                         ::testing::Combine(::testing::Values(Route::CloseButton, Route::ExitItem, Route::AltF4OnStrip,
                                                              Route::AppletClose, Route::LogOff, Route::OpenItem,
                                                              Route::Drop, Route::Clear),
                                            ::testing::Values(Reply::SaveIt, Reply::SaveCancelled, Reply::DontSave,
                                                              Reply::CancelIt)));

// Save asks once, in the folder of the opened file and proposing its name with a "-", then
// writes back; save as always asks, proposing the file's own name; the title names the file
// and the hint line says it was saved.
TEST_F(Work, SaveAsksOnceInTheFilesFolderThenWritesBackAndSaveAsAlwaysAsks) {
    Start();
    const auto folder = dir_ / L"elsewhere";
    std::filesystem::create_directory(folder);
    test::WriteBytes(folder / L"code.txt", test::Encrypted(test::kPlain) + "\r\n");
    test::Drop(app_->CipherWindow->Form, {folder / L"code.txt"});
    cipher_ = Ws().CipherText.text;
    GiveLetter(0);
    result_ = folder / L"-code.txt";
    // The proposed name, the title and the file type (cmb1).
    std::wstring proposed;
    const auto reading = [&](HWND dialog) {
        proposed = test::WindowText(test::FileNameField(dialog)) + L" | " +
                   test::WindowText(dialog) + L" | " + test::ItemText(dialog, 0x470);
    };
    const std::wstring asked = L"-code.txt | Выберите файл для сохранения | DeCODE files (*.txt)";
    {
        // A bare name lands in the folder the dialog starts in.
        WindowDriver driver({Inspecting(reading, Accept(L"-code.txt"))});
        ClickButton(kBtnSave);
    }
    EXPECT_EQ(proposed, asked);
    EXPECT_EQ(Saved(), FormatResultFile(Ws()));
    EXPECT_EQ(Title(), L"Zamenor - -code.txt");
    EXPECT_EQ(app_->AlphabetWindow->Form->Caption(), "Алфавит  .: Сохранено: -code.txt :.");

    const auto copy = dir_ / L"copy.txt";
    {
        WindowDriver driver({Inspecting(reading, Accept(copy.wstring()))});
        Choose(kItemSaveAs);
    }
    EXPECT_EQ(proposed, asked);  // its own name, no second "-"
    EXPECT_EQ(test::ReadBytes(copy), FormatResultFile(Ws()));
    EXPECT_EQ(Title(), L"Zamenor - copy.txt");
    GiveLetter(3);
    Choose(kItemSave);
    EXPECT_EQ(test::ReadBytes(copy), FormatResultFile(Ws()));
}

}  // namespace
}  // namespace zam
