#include "workspace/document_file.h"

#include <algorithm>
#include <vector>

#include "toolkit/encoding.h"
#include "workspace/file_io.h"
#include "workspace/operations.h"
#include "workspace/text_reader.h"
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

DocumentContent Refused(DocumentError error, bool isResultFile = false) {
    DocumentContent content;
    content.error = error;
    content.isResultFile = isResultFile;
    switch (error) {
        case DocumentError::None:
            break;
        case DocumentError::Empty:
            content.message = "Пустая строка.";
            break;
        case DocumentError::InvalidFormat:
            content.message = "Неверный формат файла.";
            break;
        case DocumentError::TooLong:
            content.message = "Шифротекст длиннее 65535 знаков: такой текст программа не вмещает.";
            break;
    }
    return content;
}

// Whether a line after the first holds a letter of any alphabet: then a cryptogram file that
// opens by its first line was probably meant to be read whole, and the user is told.
bool LettersAfterFirstLine(std::string_view bytes) {
    const size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return false;
    return std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(end) + 1, bytes.end(),
                       [](char c) {
                           const auto byte = static_cast<unsigned char>(c);
                           return IsLetterCodePoint(Cp1251ToCodePoint(byte));
                       });
}

// The program's own files, read exactly as they always were.
DocumentContent ParseProgramFile(std::string_view bytes) {
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
    const bool result = content.isResultFile;
    content.cipherText = result ? lines[1] : lines[0];
    if (content.cipherText.empty()) return Refused(DocumentError::Empty, result);
    if (content.cipherText.size() > kMaxTextLength) return Refused(DocumentError::TooLong, result);
    if (!CheckCipherText(content.cipherText)) return Refused(DocumentError::InvalidFormat, result);
    if (result) {
        const std::string_view key = lines[3];
        if (key.size() < kColumnCount || lines[5].size() != lines[1].size()) {
            return Refused(DocumentError::InvalidFormat, result);
        }
        std::copy_n(key.begin(), kColumnCount, content.key.begin());
        content.plainText = lines[5];
    } else if (LettersAfterFirstLine(bytes)) {
        content.notice = "Прочитана только первая строка файла.";
    }
    return content;
}

DocumentContent FromReading(TextReading reading) {
    DocumentContent content;
    switch (reading.refusal) {
        case TextRefusal::None:
            content.cipherText = std::move(reading.text);
            content.notice = std::move(reading.notice);
            return content;
        case TextRefusal::NoLetters:
            content.error = DocumentError::Empty;
            break;
        case TextRefusal::TooLong:
            content.error = DocumentError::TooLong;
            break;
        case TextRefusal::ForeignLetter:
        case TextRefusal::BrokenUtf8:
            content.error = DocumentError::InvalidFormat;
            break;
    }
    content.message = std::move(reading.message);
    return content;
}

std::string FileNameOf(const std::filesystem::path& path) {
    return PathTo1251(path.filename());
}

}  // namespace

DocumentContent ParseDocument(std::string_view bytes) {
    DocumentContent content = ParseProgramFile(bytes);
    if (content.error == DocumentError::None || content.isResultFile) return content;
    // A result file that could not even be decoded as one (UTF-16, or UTF-8 with a character
    // the code page lacks) is no text either.
    if (FirstTextLine(bytes, kCipherLabel.size() + 1) == kCipherLabel) return content;
    return FromReading(ReadCipherText(bytes));
}

DocumentContent ParseDocumentText(std::u16string_view text) {
    const std::u16string_view first = text.substr(0, text.find_first_of(u"\r\n"));
    if (Utf16To1251(first.starts_with(u'\xFEFF') ? first.substr(1) : first) == kCipherLabel) {
        return ParseProgramFile(Utf16To1251(text.starts_with(u'\xFEFF') ? text.substr(1) : text));
    }
    return FromReading(ReadCipherText(text));
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

namespace {

// Replaces the workspace with a usable document; a refusal only says why.
bool LoadDocument(Workspace& ws, Display& display, Messages& messages, DocumentContent content,
                  const std::filesystem::path& docFile, std::string* notice) {
    if (content.error != DocumentError::None) {
        messages.Show(content.message, content.error == DocumentError::Empty ? MessageIcon::None
                                                                            : MessageIcon::Error);
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
    ws.DocFile = docFile.filename();
    ws.DocName = PathTo1251(ws.DocFile);
    ws.DocPath = docFile;
    ws.ResultPath = content.isResultFile ? docFile : std::filesystem::path();
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
    if (notice) *notice = std::move(content.notice);
    return true;
}

}  // namespace

bool OpenDocument(Workspace& ws, Display& display, Messages& messages,
                  const std::filesystem::path& path, std::string* notice) {
    if (notice) notice->clear();
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
    return OpenDocumentBytes(ws, display, messages, bytes, path, notice);
}

bool OpenDocumentBytes(Workspace& ws, Display& display, Messages& messages,
                       std::string_view bytes, const std::filesystem::path& docFile,
                       std::string* notice) {
    if (notice) notice->clear();
    return LoadDocument(ws, display, messages, ParseDocument(bytes), docFile, notice);
}

std::filesystem::path PastedDocFile() { return PathFrom1251("Из буфера обмена"); }

bool OpenPastedText(Workspace& ws, Display& display, Messages& messages,
                    std::u16string_view text, std::string* notice) {
    if (notice) notice->clear();
    if (!LoadDocument(ws, display, messages, ParseDocumentText(text), PastedDocFile(), notice)) {
        return false;
    }
    // No file stands behind a paste: the first save asks where.
    ws.DocPath.clear();
    ws.ResultPath.clear();
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
