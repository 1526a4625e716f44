// Undo and redo of the key, and whether the work is unsaved: what a user loses or gets back.
#include <gtest/gtest.h>

#include <filesystem>

#include "recording_display.h"
#include "workspace/colouring.h"
#include "workspace/document_file.h"
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
    EXPECT_FALSE(ws.History.CanUndo());

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

TEST_F(KeySteps, ApplyingAKeyRedrawsTheLettersItTakesAndFrees) {
    Load("ЖА");
    KeyState key = KeyOf(ws);
    key[SymbolColumn('Ж') - 1] = 'О';
    key[kClearColumn - 1] = 'Ы';  // entry 32 is no cipher letter's: it stays
    display.log.clear();
    ApplyKey(ws, display, key);
    EXPECT_EQ(ws.PlainText.text, "О ");
    EXPECT_EQ(ws.KeyTable.key[kClearColumn], KeyOf(Workspace{})[kClearColumn - 1]);
    // The taken letter leaves the free row, and its cipher letter's cells show it.
    EXPECT_EQ(display.Only("alpha 3"), (std::vector<std::string>{"alpha 3 14"}));
    EXPECT_NE(std::find(display.log.begin(), display.log.end(), "cell P 1"), display.log.end());

    display.log.clear();
    ApplyKey(ws, display, KeyOf(ws));  // nothing differs: nothing but the selection drop
    EXPECT_TRUE(display.Only("cell").empty());

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

TEST_F(KeySteps, TheHistoryKeepsItsNewestStepsBeyondItsBound) {
    Load("ЖА");
    for (std::size_t i = 0; i < KeyHistory::kMaxSteps + 11; ++i)
        Give('Ж', i % 2 ? 'О' : 'Е');
    EXPECT_GE(KeyHistory::kMaxSteps, 10000u);
    std::size_t undone = 0;
    for (; ws.History.CanUndo(); ++undone)
        ws.History.Undo();
    EXPECT_EQ(undone, KeyHistory::kMaxSteps);
}

// Letters the program proposed look apart until the user assigns over them; undo and redo
// bring their look back with them, and a check's doubt shows on the key row.
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
    EXPECT_NE(palette.Suggested(), own);
    EXPECT_FALSE(display.Only("cell P 1").empty());
    // The same letter given by the user: redrawn in the user's colour.
    display.log.clear();
    Give('Ж', 'О');
    EXPECT_EQ(plainText(), own);
    Undo();
    EXPECT_EQ(plainText(), palette.Suggested());

    display.log.clear();
    MarkDoubtful(ws, display, ColumnBit(zh));
    EXPECT_EQ(display.log, (std::vector<std::string>{"alpha 2 7"}));
    EXPECT_EQ(AlphabetCellStyle(ws, palette, 2, zh).background, palette[16]);
    Reset(ws, display, false);
    EXPECT_EQ(ws.DoubtfulColumns | ws.SuggestedColumns, 0u);
}

// Opening starts a new history; saving makes the saved file the document that "save" writes
// back to and the title names.
TEST_F(KeySteps, OpenStartsAHistoryAndSavingMakesTheResultFileTheDocument) {
    const auto dir = std::filesystem::temp_directory_path() / "zam_key_steps";
    std::filesystem::create_directories(dir);
    const auto code = dir / "code.txt";
    FILE* f = std::fopen(code.string().c_str(), "wb");
    std::fputs("ЖАЖ\r\n", f);
    std::fclose(f);
    ASSERT_TRUE(OpenDocument(ws, display, display, code));
    Give('Ж', 'Е');
    ASSERT_TRUE(OpenDocument(ws, display, display, code));
    EXPECT_FALSE(ws.History.CanUndo());
    EXPECT_FALSE(ws.History.Modified(KeyOf(ws)));

    Give('Ж', 'Е');
    const auto result = dir / "-code.txt";
    ASSERT_TRUE(SaveWorkTo(ws, display, display, result));
    EXPECT_FALSE(ws.History.Modified(KeyOf(ws)));
    EXPECT_EQ(ws.ResultPath, result);
    EXPECT_EQ(display.title, "Zamenor - -code.txt");
    EXPECT_TRUE(ws.History.CanUndo());  // saving is no step and keeps the history

    ASSERT_TRUE(OpenDocument(ws, display, display, result));
    EXPECT_EQ(ws.ResultPath, result);  // opened from a result file: save writes back
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zam
