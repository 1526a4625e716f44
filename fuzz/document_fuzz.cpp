// Fuzzes the file readers: the cryptogram and result file reader and the reader of any text,
// from bytes and from Unicode text. No input may crash them; every file accepted must survive
// loading, statistics, saving and reading back unchanged; every text read must be a line of
// the working alphabet that reads back as itself; every encryption must decrypt again.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "workspace/document_file.h"
#include "workspace/encryption.h"
#include "workspace/text_reader.h"
#include "workspace/text_stats.h"

using namespace zam;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Letters of columns 1-30 and single gaps, none at either end, at most 65,535 symbols.
bool IsWorkingLine(std::string_view text) {
    if (text.empty() || text.size() > kMaxTextLength) return false;
    if (text.front() == '_' || text.back() == '_') return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int column = SymbolColumn(text[i]);
        if (!IsCipherColumn(column)) return false;
        if (text[i] == '_' && text[i + 1] == '_') return false;
    }
    return true;
}

void CheckReading(const TextReading& reading) {
    if (!reading.Ok()) {
        Check(!reading.message.empty() && reading.text.empty());
        return;
    }
    Check(reading.message.empty() && IsWorkingLine(reading.text));
    const TextReading again = ReadCipherText(reading.text);
    Check(again.Ok() && again.text == reading.text && again.notice.empty());
}

void CheckDocument(const DocumentContent& doc) {
    if (doc.error != DocumentError::None) {
        Check(!doc.message.empty());
        return;
    }
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
    Check(counted == ws.CipherText.text.size());

    const DocumentContent again = ParseDocument(FormatResultFile(ws));
    Check(again.error == DocumentError::None && again.isResultFile &&
          again.cipherText == ws.CipherText.text && again.plainText == ws.PlainText.text);
    for (int c = 1; c <= kColumnCount; ++c) Check(again.key[c - 1] == ws.KeyTable.key[c]);
}

void CheckEncryption(const Encryption& e) {
    if (!e.Ok()) return;
    Check(IsWorkingLine(e.plainText) && e.cipherText.size() == e.plainText.size());
    for (std::size_t i = 0; i < e.cipherText.size(); ++i) {
        Check(e.key[static_cast<std::size_t>(SymbolColumn(e.cipherText[i]) - 1)] == e.plainText[i]);
    }
    const DocumentContent answer = ParseDocument(AnswerFileBytes(e));
    Check(answer.error == DocumentError::None && answer.isResultFile &&
          answer.cipherText == e.cipherText && answer.key == e.key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckDocument(ParseDocument(bytes));
    CheckReading(ReadCipherText(bytes));

    // The same bytes as the clipboard's Unicode text.
    std::u16string wide(size / 2, u'\0');
    if (!wide.empty()) std::memcpy(wide.data(), data, wide.size() * 2);
    CheckReading(ReadCipherText(wide));
    CheckDocument(ParseDocumentText(wide));

    std::uint64_t seed = 0;
    std::memcpy(&seed, data, std::min(size, sizeof seed));
    CheckEncryption(EncryptText(bytes, seed));
    return 0;
}
