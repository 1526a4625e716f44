#include "app/solver_commands.h"

#include <algorithm>
#include <functional>
#include <string>

#include "app/modal_scope.h"
#include "app/work_commands.h"
#include "solver/key_solver.h"
#include "toolkit/application.h"
#include "toolkit/gdi.h"
#include "workspace/operations.h"

namespace zam {
namespace {

// The same answer for the same text and key; well under a second even for the largest text.
constexpr std::uint64_t kSeed = 1;
constexpr int kSolveBudgetMs = 700;
constexpr int kHintBudgetMs = 700;
constexpr int kCheckBudgetMs = 1000;

DWORD WINAPI RunWork(void* work) {
    (*static_cast<std::function<void()>*>(work))();
    return 0;
}

// The solver takes up to a good part of a second. It runs on a thread of its own while this
// one shows the wait cursor over every window of the program: the system sets a window's
// cursor only as it hands over a pointer move, so the moves are taken from the queue (and
// dropped) meanwhile, and the windows keep their paint. No input is dispatched: a key or click
// waits in the queue until the answer is in.
void RunWhileWaiting(std::function<void()> work) {
    HANDLE thread = CreateThread(nullptr, 0, &RunWork, &work, 0, nullptr);
    if (!thread) {
        work();
        return;
    }
    HCURSOR wait = LoadSystemCursor(SystemCursor::Wait);
    const HCURSOR previousGlobal = GlobalCursor();
    SetGlobalCursor(wait);
    const HCURSOR previous = SetCursor(wait);
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_MOUSEMOVE | QS_PAINT) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE) ||
               PeekMessageW(&msg, nullptr, WM_NCMOUSEMOVE, WM_NCMOUSEMOVE, PM_REMOVE)) {
        }
        while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
    CloseHandle(thread);
    SetGlobalCursor(previousGlobal);
    SetCursor(previous);
}

bool SolverMayRun(const Application& app) {
    return CommandsAllowed(app) && app.Ws && !app.Ws->CipherText.text.empty();
}

}  // namespace

void SuggestRestOfKey(Application& app) {
    if (!SolverMayRun(app)) {
        return;
    }
    Workspace& ws = *app.Ws;
    const KeyMoment before = MomentOf(ws);
    KeyColumns proposal{};
    RunWhileWaiting(
        [&] { proposal = SuggestKey(ws.CipherText.text, before.key, kSeed, kSolveBudgetMs); });
    // Only letters the user left open, and none the plaintext already holds.
    KeyState key = before.key;
    std::uint32_t suggested = before.suggested;
    const auto taken = [&key](char plain) {
        return std::find(key.begin(), key.begin() + kSymbolCount, plain) !=
               key.begin() + kSymbolCount;
    };
    for (int column = 1; column <= kSymbolCount; ++column) {
        const auto at = static_cast<size_t>(column - 1);
        const char plain = proposal[at];
        if (IsCipherColumn(SymbolColumn(key[at])) || !IsCipherColumn(SymbolColumn(plain)) ||
            PlainLetterInUse(ws, plain) || taken(plain)) {
            continue;
        }
        key[at] = plain;
        suggested |= ColumnBit(column);
    }
    ApplyKey(ws, app.Screen, key, suggested);
    RecordKeyStep(app, before);
}

void HintOneLetter(Application& app) {
    if (!SolverMayRun(app)) {
        return;
    }
    Workspace& ws = *app.Ws;
    const KeyMoment before = MomentOf(ws);
    std::optional<solver::HintLetter> hint;
    RunWhileWaiting([&] {
        hint = solver::SuggestHint(ws.CipherText.text, before.key, kSeed, kHintBudgetMs);
    });
    const char plain = hint ? hint->plain : kNoLetter;
    if (!hint || !IsCipherColumn(hint->column) || !IsCipherColumn(SymbolColumn(plain)) ||
        IsCipherColumn(SymbolColumn(before.key[static_cast<size_t>(hint->column - 1)])) ||
        PlainLetterInUse(ws, plain)) {
        ShowNotice(app, "Подсказать нечего: все буквы шифровки уже заменены");
        return;
    }
    KeyState key = before.key;
    key[static_cast<size_t>(hint->column - 1)] = plain;
    ApplyKey(ws, app.Screen, key, before.suggested | ColumnBit(hint->column));
    RecordKeyStep(app, before);
    ShowNotice(app, std::string("Подсказка: ") + ColumnSymbol(hint->column) + " заменяет " + plain);
}

void CheckUsersKey(Application& app) {
    if (!SolverMayRun(app)) {
        return;
    }
    Workspace& ws = *app.Ws;
    solver::KeyCheck check;
    const KeyState key = KeyOf(ws);
    RunWhileWaiting(
        [&] { check = solver::CheckKey(ws.CipherText.text, key, kSeed, kCheckBudgetMs); });
    std::uint32_t doubtful = 0;
    std::string said;
    for (const solver::KeyDisagreement& wrong : check.disagreements) {
        if (!IsCipherColumn(wrong.column)) {
            continue;
        }
        doubtful |= ColumnBit(wrong.column);
        said += said.empty() ? "" : ", ";
        // Windows-1251 has no arrow: the cipher letter and the letter doubted, as »-pairs.
        said += std::string(1, ColumnSymbol(wrong.column)) + "»" + wrong.user;
    }
    MarkDoubtful(ws, app.Screen, doubtful);
    ShowNotice(app, said.empty() ? std::string("Ошибок не найдено")
                                 : "Похоже, неверны: " + said);
}

}  // namespace zam
