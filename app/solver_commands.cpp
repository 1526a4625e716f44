#include "app/solver_commands.h"

#include <string>

#include "app/modal_scope.h"
#include "app/work_commands.h"
#include "solver/key_solver.h"
#include "workspace/operations.h"

namespace zam {
namespace {

// The same answer for the same text and key; well under a second even for the largest text.
constexpr std::uint64_t kSeed = 1;
constexpr int kHintBudgetMs = 700;
constexpr int kCheckBudgetMs = 1000;

// The wait cursor (IDC_WAIT) while the solver works; the pointer's own comes back after.
class SolverWait {
public:
    SolverWait() : previous_(SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)))) {}
    ~SolverWait() { SetCursor(previous_); }
    SolverWait(const SolverWait&) = delete;
    SolverWait& operator=(const SolverWait&) = delete;

private:
    HCURSOR previous_;
};

bool SolverMayRun(const Application& app) {
    return CommandsAllowed(app) && app.Ws && !app.Ws->CipherText.text.empty();
}

}  // namespace

void HintOneLetter(Application& app) {
    if (!SolverMayRun(app)) {
        return;
    }
    Workspace& ws = *app.Ws;
    const KeyMoment before = MomentOf(ws);
    std::optional<solver::HintLetter> hint;
    {
        SolverWait wait;
        hint = solver::SuggestHint(ws.CipherText.text, before.key, kSeed, kHintBudgetMs);
    }
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
    {
        SolverWait wait;
        check = solver::CheckKey(ws.CipherText.text, KeyOf(ws), kSeed, kCheckBudgetMs);
    }
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
