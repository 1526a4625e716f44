// Fuzzes the cryptogram and result file reader: no input may crash it, and every file it
// accepts must survive loading, statistics, saving and reading back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "workspace/document_file.h"
#include "workspace/text_stats.h"

using namespace zam;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DocumentContent doc = ParseDocument(bytes);
    if (doc.error != DocumentError::None) return 0;

    Workspace ws;
    ws.CipherText.text = doc.cipherText;
    if (doc.isResultFile) {
        for (int c = 1; c <= kColumnCount; ++c) ws.KeyTable.key[c] = doc.key[c - 1];
        ws.PlainText.text = doc.plainText;
    } else {
        ws.PlainText.text.assign(doc.cipherText.size(), ' ');
    }
    BuildLetterStatistics(ws.TextStats, ws.CipherText.text);
    BuildPairStatistics(ws.TextStats, ws.CipherText.text);
    std::size_t counted = 0;
    for (int c = 1; c <= kSymbolCount; ++c) counted += ws.TextStats.positions[c].size();
    if (counted != ws.CipherText.text.size()) std::abort();

    const DocumentContent again = ParseDocument(FormatResultFile(ws));
    if (again.error != DocumentError::None || !again.isResultFile ||
        again.cipherText != ws.CipherText.text || again.plainText != ws.PlainText.text) {
        std::abort();
    }
    for (int c = 1; c <= kColumnCount; ++c) {
        if (again.key[c - 1] != ws.KeyTable.key[c]) std::abort();
    }
    return 0;
}
