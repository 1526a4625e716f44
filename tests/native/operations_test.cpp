#include <gtest/gtest.h>

#include "recording_display.h"
#include "workspace/operations.h"
#include "workspace/text_stats.h"

namespace zam {
namespace {

using testing::RecordingDisplay;
using testing::RecordingView;
using Lines = std::vector<std::string>;

class Operations : public ::testing::Test {
protected:
    void Load(std::string_view text) { testing::LoadCipherText(ws, text); }
    char Key(char cipher) const { return ws.KeyTable.key[SymbolColumn(cipher)]; }

    Workspace ws;
    RecordingDisplay display{ws};
    RecordingView scrolled{display.log, "v1", true}, plain{display.log, "v2", false};
};

TEST_F(Operations, AssignWritesEveryPositionOfTheLetterAndLeavesEverythingElseAlone) {
    Load("ЖАЖ_Б");
    Assign(ws, display, 'Ж', 'Е');
    EXPECT_EQ(ws.PlainText.text, "Е Е  ");
    EXPECT_TRUE(display.log.empty());  // text cells follow with the selection drop

    // Reassigning frees the old letter: its free-row cell is redrawn.
    Assign(ws, display, 'Ж', 'О');
    EXPECT_EQ(Key('Ж'), 'О');
    EXPECT_EQ(ws.PlainText.text, "О О  ");
    EXPECT_EQ(display.log, Lines{"alpha 3 6"});
    display.log.clear();
    Assign(ws, display, 'Ж', '?');
    EXPECT_EQ(Key('Ж'), ' ');
    EXPECT_EQ(display.log, Lines{"alpha 3 14"});

    ws.KeyTable.key[32] = 'Х';
    Assign(ws, display, '?', 'О');  // "?" is no cipher symbol: entry 32 stays
    Assign(ws, display, '_', 'Т');
    EXPECT_EQ(ws.PlainText.text, "   Т ");
    EXPECT_EQ(ws.KeyTable.key[32], 'Х');

    // A result file may bring any byte as a key letter: it has no free-row cell to redraw.
    display.log.clear();
    ws.KeyTable.key[SymbolColumn('Ж')] = '\x01';
    Assign(ws, display, 'Ж', 'О');
    EXPECT_EQ(Key('Ж'), 'О');
    EXPECT_TRUE(display.Only("alpha").empty());
}

TEST_F(Operations, PointingAtAFreeLetterTracksThePlainLetter) {
    Load("ЖАЖБА");
    SetCurrentLetter(ws, display, PointerSource::CipherRow, 'Ж');
    SetSelectedLetter(ws, display, 'Ж');
    display.log.clear();

    SetCurrentLetter(ws, display, PointerSource::FreeRow, 'О');
    EXPECT_EQ(ws.CurrentLetter, " ");
    EXPECT_EQ(ws.PlainLetter, "О");
    const std::string hint = "caption Алфавит  .: Заменим Ж на О :.";
    const std::string firstHint = "caption Алфавит  .: Заменим Ж :.";
    EXPECT_EQ(display.log,
              (Lines{"alpha 1 7", "alpha 2 7", "marker 1 Ж", "cell C 3", "cell P 3", "cell C 1",
                     "cell P 1", firstHint, "marker 3 О", hint, "alpha 3 14", hint}));

    display.log.clear();
    SetCurrentLetter(ws, display, PointerSource::FreeRow, '?');
    EXPECT_EQ(display.caption, "Алфавит  .: Очистим Ж ]");
    EXPECT_EQ(display.Only("alpha"), (Lines{"alpha 3 14", "alpha 3 32"}));
    EXPECT_EQ(display.Only("marker"), (Lines{"marker 3 О"}));  // "?" has no marker
}

TEST_F(Operations, SelectingRedrawsOldAndNewLetterThenTheCaptionOrOnlyTheDropWithoutHighlight) {
    Load("ЖАЖ");
    SetSelectedLetter(ws, display, 'Ж');
    EXPECT_EQ(display.log,
              (Lines{"alpha 1 7", "alpha 2 7", "marker 1 Ж", "cell C 3", "cell P 3", "cell C 1",
                     "cell P 1", "caption Алфавит ", "caption Алфавит  .: Заменим Ж :."}));
    display.log.clear();
    SetSelectedLetter(ws, display, ' ');
    EXPECT_EQ(display.log, (Lines{"alpha 1 7", "alpha 2 7", "marker 1 Ж", "cell C 3", "cell P 3",
                                  "cell C 1", "cell P 1", "caption Алфавит "}));

    // With its highlight off, selecting repaints no cell.
    display.log.clear();
    ws.HiliteSelected = false;
    SetSelectedLetter(ws, display, 'Ж');
    EXPECT_EQ(display.log, (Lines{"caption Алфавит ", "caption Алфавит  .: Заменим Ж :."}));

    // Dropping it repaints the plaintext view (the new assignment shows) but not the
    // ciphertext view.
    Assign(ws, display, 'Ж', 'О');
    display.log.clear();
    SetSelectedLetter(ws, display, ' ');
    EXPECT_EQ(display.Only("cell"), (Lines{"cell P 3", "cell P 1"}));
}

TEST_F(Operations, ResetKeepingOrClearingTheCipherText) {
    Load("ЖАЖ");
    Assign(ws, display, 'Ж', 'О');
    ws.KeyTable.key[32] = 'Ю';
    ws.Phrase = "ЖА";
    display.views = {&scrolled, &plain};
    display.log.clear();

    Reset(ws, display, false);
    EXPECT_EQ(ws.CipherText.text, "ЖАЖ");
    EXPECT_EQ(ws.PlainText.text, "   ");
    EXPECT_EQ(Key('Ж'), ' ');
    EXPECT_EQ(ws.KeyTable.key[32], 'Ю');
    EXPECT_TRUE(ws.Phrase.empty());
    EXPECT_EQ(ws.TextStats.positions[7].size(), 2u);
    EXPECT_EQ(display.log, (Lines{"graph erase", "v1 invalidate", "v2 invalidate", "graph"}));

    // Clearing the text too scrolls the views back; the ranges wait for the next build.
    display.log.clear();
    Reset(ws, display, true);
    EXPECT_TRUE(ws.CipherText.text.empty());
    EXPECT_TRUE(ws.TextStats.positions[7].empty());
    EXPECT_EQ(display.log, (Lines{"graph erase", "v1 top", "v1 shrink", "v1 bar", "v1 invalidate",
                                  "v2 invalidate", "graph"}));
}

// Every way to assign asks one question: is the letter already someone's? And the keys that
// the alphabet window takes.
TEST_F(Operations, ALetterInUseAndTheAcceptedKeys) {
    Load("ЖЕЖЕ_ЕЖ");
    Assign(ws, display, 'Е', 'О');
    ws.KeyTable.key[SymbolColumn('Я')] = 'Т';  // a letter absent from the text holds Т
    EXPECT_TRUE(PlainLetterInUse(ws, 'О'));
    EXPECT_TRUE(PlainLetterInUse(ws, 'Т'));
    EXPECT_FALSE(PlainLetterInUse(ws, '?'));  // clearing is always allowed

    const std::pair<char, char> keys[] = {{' ', '?'}, {'_', '_'}, {'я', 'Я'}, {'Ж', 'Ж'},
                                          {'ё', 0},   {'Й', 0},   {'\x9F', 0}};
    for (auto [key, symbol] : keys) {
        EXPECT_EQ(TranslateTypedKey(key), symbol) << static_cast<int>(key);
    }

    // A reset forgets the position under the pointer: a shorter text may come next.
    ws.HoverPos = 7;
    Reset(ws, display, true);
    EXPECT_EQ(ws.HoverPos, 0);
}

}  // namespace
}  // namespace zam
