#include "workspace/document_file.h"

#include <algorithm>
#include <vector>

#include "toolkit/encoding.h"
#include "workspace/file_io.h"
#include "workspace/operations.h"
#include "workspace/text_stats.h"

namespace zam {
namespace {

constexpr std::string_view kCipherLabel = "Шифротекст:";
constexpr std::string_view kKeyLabel = "Алфавит замены:";
constexpr std::string_view kPlainLabel = "Открытый текст:";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A Windows-1251 cryptogram or result file never holds 0x80-0xBF, and UTF-8 cannot write
// Cyrillic without them, so valid UTF-8 holding one of them is UTF-8.
bool LooksLikeUtf8(std::string_view bytes) {
    const bool high = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x80 && b <= 0xBF;
    });
    return high && IsValidUtf8(bytes);
}

// Lines end at LF, with or without CR before it; the first `count` lines, missing ones empty.
std::vector<std::string_view> FirstLines(std::string_view bytes, size_t count) {
    std::vector<std::string_view> lines;
    while (lines.size() < count && !bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    }
    lines.resize(count);
    return lines;
}

// Folds lower case and refuses every byte without a cipher column (Й and Ъ included).
bool CheckCipherText(std::string& text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) >= 0xE0) c = static_cast<char>(c - 32);
        if (!IsCipherColumn(SymbolColumn(c))) return false;
    }
    return true;
}

DocumentContent Refused(DocumentError error) {
    DocumentContent content;
    content.error = error;
    return content;
}

std::string FileNameOf(const std::filesystem::path& path) {
    return PathTo1251(path.filename());
}

}  // namespace

DocumentContent ParseDocument(std::string_view bytes) {
    std::string converted;
    if (LooksLikeUtf8(bytes)) {
        if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
        auto text = Utf8To1251(bytes);
        if (!text) return Refused(DocumentError::InvalidFormat);
        converted = std::move(*text);
        bytes = converted;
    }

    const auto lines = FirstLines(bytes, 6);
    DocumentContent content;
    content.isResultFile = lines[0] == kCipherLabel;
    content.cipherText = content.isResultFile ? lines[1] : lines[0];
    if (content.cipherText.empty()) return Refused(DocumentError::Empty);
    if (content.cipherText.size() > kMaxTextLength) return Refused(DocumentError::TooLong);
    if (!CheckCipherText(content.cipherText)) return Refused(DocumentError::InvalidFormat);
    if (content.isResultFile) {
        const std::string_view key = lines[3];
        if (key.size() < kColumnCount || lines[5].size() != lines[1].size()) {
            return Refused(DocumentError::InvalidFormat);
        }
        std::copy_n(key.begin(), kColumnCount, content.key.begin());
        content.plainText = lines[5];
    }
    return content;
}

std::string FormatResultFile(const Workspace& ws) {
    std::string out;
    const auto line = [&out](std::string_view text) {
        out += text;
        out += kLineEnd;
    };
    line(kCipherLabel);
    line(ws.CipherText.text);
    line(kKeyLabel);
    line(std::string(ws.KeyTable.key.begin(), ws.KeyTable.key.end()));
    line(kPlainLabel);
    line(ws.PlainText.text);
    return out;
}

std::string ProposedSaveName(std::string_view docName) {
    std::string name = docName.starts_with('_') ? "" : "-";
    name += docName;
    return name;
}

std::filesystem::path ProposedSavePath(const std::filesystem::path& docFile) {
    auto name = docFile.native();
    if (name.empty() || name.front() != '_') name.insert(name.begin(), '-');
    return name;
}

std::string MainTitle(std::string_view docName) {
    std::string title = "Zamenor - ";
    title += docName;
    return title;
}

bool OpenDocument(Workspace& ws, Display& display, Messages& messages,
                  const std::filesystem::path& path) {
    std::string bytes;
    switch (ReadFileBytes(path, bytes)) {
        case ReadStatus::Ok:
            break;
        case ReadStatus::CannotRead:
            messages.Show("Не удалось прочитать файл \"" + FileNameOf(path) + "\".",
                          MessageIcon::Error);
            return false;
        case ReadStatus::TooLarge:
            messages.Show("Файл \"" + FileNameOf(path) + "\" слишком велик для шифровки.",
                          MessageIcon::Error);
            return false;
    }

    DocumentContent content = ParseDocument(bytes);
    switch (content.error) {
        case DocumentError::None:
            break;
        case DocumentError::Empty:
            messages.Show("Пустая строка.", MessageIcon::None);
            return false;
        case DocumentError::InvalidFormat:
            messages.Show("Неверный формат файла.", MessageIcon::Error);
            return false;
        case DocumentError::TooLong:
            messages.Show("Шифротекст длиннее 65535 знаков: такой текст программа не вмещает.",
                          MessageIcon::Error);
            return false;
    }

    Reset(ws, display, true);
    ws.CipherText.text = std::move(content.cipherText);
    if (content.isResultFile) {
        for (int column = 1; column <= kColumnCount; ++column) {
            ws.KeyTable.key[column] = content.key[static_cast<size_t>(column - 1)];
        }
        ws.PlainText.text = std::move(content.plainText);
    } else {
        ws.PlainText.text.assign(ws.CipherText.text.size(), kNoLetter);
    }
    ws.DocFile = path.filename();
    ws.DocName = PathTo1251(ws.DocFile);
    ws.DocPath = path;
    ws.ResultPath = content.isResultFile ? path : std::filesystem::path();
    ws.History.Start(KeyOf(ws));
    BuildLetterStatistics(ws.TextStats, ws.CipherText.text);
    BuildPairStatistics(ws.TextStats, ws.CipherText.text);

    const size_t n = ws.CipherText.text.size();
    const int surfaceHeight = static_cast<int>(((n + 1) / kLineWidth + 1) * 16 + 5);
    for (View* view : display.Views()) {
        if (view->HasScrollBar()) {
            view->EnsureSurfaceHeight(surfaceHeight);
            view->UpdateScrollBar();
        }
        view->Invalidate();
    }
    display.InvalidateGraphSurface();
    display.SetMainTitle(MainTitle(ws.DocName));
    return true;
}

bool SaveWorkTo(Workspace& ws, Display& display, Messages& messages,
                const std::filesystem::path& path) {
    if (!SaveDocument(ws, messages, path)) return false;
    ws.History.MarkSaved(KeyOf(ws));
    ws.DocPath = path;
    ws.ResultPath = path;
    ws.DocFile = path.filename();
    ws.DocName = PathTo1251(ws.DocFile);
    display.SetMainTitle(MainTitle(ws.DocName));
    return true;
}

bool SaveDocument(const Workspace& ws, Messages& messages, const std::filesystem::path& path) {
    if (ws.CipherText.text.empty()) return false;
    if (WriteFileReplacing(path, FormatResultFile(ws))) return true;
    messages.Show("Не удалось сохранить файл \"" + FileNameOf(path) +
                      "\". Прежний файл с этим именем не изменён.",
                  MessageIcon::Error);
    return false;
}

}  // namespace zam
