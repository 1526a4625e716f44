// Undo and redo of the key, and whether the work is unsaved: what a user loses or gets back.
#include <gtest/gtest.h>

#include "recording_display.h"
#include "workspace/colouring.h"
#include "workspace/operations.h"

namespace zam {
namespace {

using testing::RecordingDisplay;

class KeySteps : public ::testing::Test {
protected:
    void Load(std::string_view text) {
        testing::LoadCipherText(ws, text);
        ws.History.Start(KeyOf(ws));
    }
    // A user's assignment, recorded as the program records it.
    void Give(char cipher, char plain) {
        const KeyMoment before = MomentOf(ws);
        Assign(ws, display, cipher, plain);
        ws.SuggestedColumns &= ~ColumnBit(SymbolColumn(cipher));
        ws.History.Record(before, MomentOf(ws));
    }
    void Return(const KeyMoment& moment) { ApplyKey(ws, display, moment.key, moment.suggested); }
    void Undo() { Return(ws.History.Undo()); }
    void Redo() { Return(ws.History.Redo()); }

    Workspace ws;
    RecordingDisplay display{ws};
};

TEST_F(KeySteps, UndoAndRedoGiveBackKeyAndPlaintextStepByStep) {
    Load("ЖАЖ_Б");
    Give('Ж', 'Е');
    Give('А', 'Т');
    Give('Ж', 'О');  // reassigned: Е is free again
    EXPECT_EQ(ws.PlainText.text, "ОТО  ");

    Undo();
    EXPECT_EQ(ws.PlainText.text, "ЕТЕ  ");
    Undo();
    Undo();
    EXPECT_EQ(ws.PlainText.text, "     ");

    // A new step after undo drops what could have been redone.
    Redo();
    EXPECT_EQ(ws.PlainText.text, "Е Е  ");
    Give('Б', 'Н');
    EXPECT_FALSE(ws.History.CanRedo());
    Undo();
    // Back where it was opened counts as unchanged; a change that changes nothing is no step.
    Undo();
    EXPECT_FALSE(ws.History.Modified(KeyOf(ws)));
    Give('А', '?');
    EXPECT_TRUE(ws.History.CanRedo());
}

TEST_F(KeySteps, ApplyingAKeyKeepsEntry32AndLettersThatTradePlaces) {
    Load("ЖА");
    KeyState key = KeyOf(ws);
    key[SymbolColumn('Ж') - 1] = 'О';
    key[kClearColumn - 1] = 'Ы';  // entry 32 is no cipher letter's: it stays
    ApplyKey(ws, display, key);
    EXPECT_EQ(ws.PlainText.text, "О ");
    EXPECT_EQ(ws.KeyTable.key[kClearColumn], KeyOf(Workspace{})[kClearColumn - 1]);

    // Letters that trade places come back without being held twice.
    Give('А', 'Е');
    KeyState traded = KeyOf(ws);
    std::swap(traded[SymbolColumn('Ж') - 1], traded[SymbolColumn('А') - 1]);
    const KeyMoment before = MomentOf(ws);
    ApplyKey(ws, display, traded);
    ws.History.Record(before, MomentOf(ws));
    EXPECT_EQ(ws.PlainText.text, "ЕО");
    Undo();
    EXPECT_EQ(ws.PlainText.text, "ОЕ");
}

// Letters the program proposed look apart until the user assigns over them; undo and redo
// bring their look back with them.
TEST_F(KeySteps, ProposedLettersLookApartUntilTheUserTakesThemOver) {
    Load("ЖА");
    ColourPalette palette;
    const int zh = SymbolColumn('Ж');
    const auto keyText = [&] { return AlphabetCellStyle(ws, palette, 2, zh).text; };
    const auto plainText = [&] { return TextCellStyle(ws, palette, ws.PlainText, 1).text; };
    Give('А', 'Т');
    const Colour own = TextCellStyle(ws, palette, ws.PlainText, 2).text;

    KeyState proposed = KeyOf(ws);
    proposed[zh - 1] = 'О';
    const KeyMoment before = MomentOf(ws);
    display.log.clear();
    ApplyKey(ws, display, proposed, ColumnBit(zh));
    ws.History.Record(before, MomentOf(ws));
    EXPECT_EQ(keyText(), palette.Suggested());
    EXPECT_EQ(plainText(), palette.Suggested());
    EXPECT_FALSE(display.Only("cell P 1").empty());
    // The same letter given by the user: redrawn in the user's colour.
    Give('Ж', 'О');
    EXPECT_EQ(plainText(), own);
    Undo();
    EXPECT_EQ(plainText(), palette.Suggested());
}

}  // namespace
}  // namespace zam
