// Times the heaviest workspace work on the largest text the program holds: reading and
// checking a 65,535-character cryptogram, building its statistics, and a thousand assign and
// reset operations. Run: build/native/workspace_bench [path to a UTF-8 plaintext]
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "toolkit/encoding.h"
#include "workspace/document_file.h"
#include "workspace/operations.h"
#include "workspace/text_stats.h"

using namespace zam;
using Clock = std::chrono::steady_clock;

namespace {

// Counts requests without drawing, so the figures are the workspace's own.
class CountingDisplay : public Display {
public:
    void DrawTextCell(const TextObject&, std::uint16_t) override { ++requests; }
    void DrawAlphabetCell(int, int) override { ++requests; }
    void DrawMarker(MarkerKind, char) override { ++requests; }
    void DrawGraph(bool) override { ++requests; }
    void SetAlphabetCaption(std::string_view) override { ++requests; }
    void SetMainTitle(std::string_view) override { ++requests; }
    std::span<View* const> Views() override { return {}; }
    void InvalidateGraphSurface() override { ++requests; }
    long requests = 0;
};

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// A fixed substitution of the 31 symbols: each column moves 7 places on.
std::string Encrypt(const std::string& plain) {
    std::string out = plain;
    for (char& c : out) {
        const int column = SymbolColumn(c);
        if (IsCipherColumn(column)) c = ColumnSymbol((column + 6) % kSymbolCount + 1);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "../shared/data/texts/tolstoy_anna_karenina_65535.txt";
    std::ifstream in(path, std::ios::binary);
    std::stringstream utf8;
    utf8 << in.rdbuf();
    auto plain = Utf8To1251(utf8.str());
    if (!in || !plain) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    while (!plain->empty() && (plain->back() == '\n' || plain->back() == '\r')) plain->pop_back();
    const std::string cryptogram = Encrypt(*plain);

    auto start = Clock::now();
    const DocumentContent doc = ParseDocument(cryptogram + "\r\n");
    const double parseMs = Milliseconds(start);
    if (doc.error != DocumentError::None) {
        std::fprintf(stderr, "the cryptogram was refused\n");
        return 1;
    }

    Workspace ws;
    CountingDisplay display;
    ws.CipherText.text = doc.cipherText;
    ws.PlainText.text.assign(doc.cipherText.size(), ' ');
    start = Clock::now();
    BuildLetterStatistics(ws.TextStats, ws.CipherText.text);
    BuildPairStatistics(ws.TextStats, ws.CipherText.text);
    const double statsMs = Milliseconds(start);

    start = Clock::now();
    for (int i = 0; i < 1000; ++i) {
        const char cipher = ColumnSymbol(i % kSymbolCount + 1);
        const char letter = ColumnSymbol((i * 7) % kSymbolCount + 1);
        SetSelectedLetter(ws, display, cipher);
        Assign(ws, display, cipher, letter);
        SetCurrentLetter(ws, display, PointerSource::FreeRow, ' ');
        SetSelectedLetter(ws, display, ' ');
        if (i % 31 == 30) Reset(ws, display, false);
    }
    const double assignMs = Milliseconds(start);

    start = Clock::now();
    for (int i = 0; i < 1000; ++i) Reset(ws, display, false);
    const double resetMs = Milliseconds(start);

    std::printf("text: %zu characters\n", ws.CipherText.text.size());
    std::printf("read and check: %.3f ms\n", parseMs);
    std::printf("letter and pair statistics: %.3f ms\n", statsMs);
    std::printf("1000 select-assign-drop rounds: %.3f ms (%ld redraw requests)\n", assignMs,
                display.requests);
    std::printf("1000 resets keeping the text: %.3f ms\n", resetMs);
    return 0;
}
