#include "workspace/text_reader.h"

#include <algorithm>
#include <array>
#include <vector>

#include "language/reference_data.h"
#include "toolkit/encoding.h"
#include "workspace/alphabet.h"
#include "workspace/workspace.h"

namespace zam {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMalformed = 0x110000;  // a broken UTF-8 sequence: no code point has it

// Windows-1251 bytes of the three letters the working alphabet lacks, and of their folds.
constexpr char kYo = '\xA8';
constexpr char kShortI = '\xC9';
constexpr char kHardSign = '\xDA';
struct ExtraLetter {
    char letter;
    char fold;
};
constexpr std::array<ExtraLetter, 3> kExtraLetters = {{
    {kYo, 'Е'},
    {kShortI, 'И'},
    {kHardSign, 'Ь'},
}};

// ---- decoding -------------------------------------------------------------------------------

enum class Encoding { Cp1251, Utf8, Utf16Le, Utf16Be };

char16_t Utf16Unit(std::string_view bytes, std::size_t i, bool littleEndian) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char16_t>(littleEndian ? first | second << 8 : first << 8 | second);
}

// Russian or Latin text in UTF-16 has Cyrillic, Latin or punctuation in nearly every unit;
// Windows-1251 letters read as UTF-16 land in the Hangul and private-use areas instead.
bool PlausibleUtf16(std::string_view bytes, bool littleEndian) {
    const std::size_t units = bytes.size() / 2;
    std::size_t plausible = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = Utf16Unit(bytes, i, littleEndian);
        if (unit < 0x0500 || (unit >= 0x2000 && unit <= 0x206F)) ++plausible;
    }
    return plausible * 2 > units;
}

struct Detected {
    Encoding encoding = Encoding::Cp1251;
    std::size_t start = 0;  // past the byte-order mark
};

Detected Detect(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return {Encoding::Utf8, 3};
    // "яю" in Windows-1251 is the UTF-16 mark too, so the mark alone does not decide.
    const bool even = bytes.size() % 2 == 0;
    if (even && (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))) {
        const bool little = bytes[0] == '\xFF';
        if (bytes.size() == 2 || PlausibleUtf16(bytes.substr(2), little)) {
            return {little ? Encoding::Utf16Le : Encoding::Utf16Be, 2};
        }
    }
    // No text file of the other encodings holds a zero byte; UTF-16 without its mark does.
    if (even && bytes.find('\0') != std::string_view::npos) {
        if (PlausibleUtf16(bytes, true)) return {Encoding::Utf16Le, 0};
        if (PlausibleUtf16(bytes, false)) return {Encoding::Utf16Be, 0};
    }
    // Windows-1251 Russian is nearly all broken sequences when read as UTF-8; UTF-8 with a few
    // damaged bytes, or cut short at the end, is mostly whole ones, and is refused at its first
    // damage rather than read as Windows-1251 gibberish that would pass for Russian letters.
    std::size_t whole = 0;
    std::size_t broken = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
        } else if (DecodeUtf8At(bytes, i) >= 0) {
            ++whole;
        } else if (i < bytes.size() || lead < 0xC2 || lead > 0xF4) {
            ++broken;
        }
    }
    if (whole > 0 && broken * 8 <= whole) return {Encoding::Utf8, 0};
    return {};
}

template <class UnitAt>
char32_t NextUtf16(UnitAt unitAt, std::size_t count, std::size_t& i) {
    const char32_t unit = unitAt(i++);
    if (unit >= 0xD800 && unit <= 0xDBFF && i < count) {
        const char32_t low = unitAt(i);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit;
}

// Code points of a file's bytes, one at a time: a whole file is never widened at once.
class ByteDecoder {
public:
    explicit ByteDecoder(std::string_view bytes) {
        const Detected detected = Detect(bytes);
        encoding_ = detected.encoding;
        bytes_ = bytes.substr(detected.start);
    }

    bool operator()(char32_t& codePoint) {
        if (i_ >= bytes_.size()) return false;
        switch (encoding_) {
            case Encoding::Cp1251:
                codePoint = Cp1251ToCodePoint(static_cast<unsigned char>(bytes_[i_++]));
                return true;
            case Encoding::Utf8: {
                const long value = DecodeUtf8At(bytes_, i_);
                codePoint = value < 0 ? kMalformed : static_cast<char32_t>(value);
                return true;
            }
            case Encoding::Utf16Le:
            case Encoding::Utf16Be: {
                const bool little = encoding_ == Encoding::Utf16Le;
                const std::size_t units = bytes_.size() / 2;
                if (i_ / 2 >= units) return false;  // an odd last byte is no character
                std::size_t unit = i_ / 2;
                codePoint = NextUtf16(
                    [&](std::size_t k) { return Utf16Unit(bytes_, k * 2, little); }, units, unit);
                i_ = unit * 2;
                return true;
            }
        }
        return false;
    }

private:
    Encoding encoding_ = Encoding::Cp1251;
    std::string_view bytes_;
    std::size_t i_ = 0;
};

class WideDecoder {
public:
    explicit WideDecoder(std::u16string_view text) : text_(text) {
        if (text_.starts_with(u'\xFEFF')) text_.remove_prefix(1);
    }
    bool operator()(char32_t& codePoint) {
        if (i_ >= text_.size()) return false;
        codePoint = NextUtf16([this](std::size_t k) { return text_[k]; }, text_.size(), i_);
        return true;
    }

private:
    std::u16string_view text_;
    std::size_t i_ = 0;
};

// ---- characters -----------------------------------------------------------------------------

// The upper-case Windows-1251 byte of a Russian letter, 0 for anything else.
char RussianLetter(char32_t cp) {
    if (cp >= 0x0410 && cp <= 0x042F) return static_cast<char>(0xC0 + (cp - 0x0410));
    if (cp >= 0x0430 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0430));
    if (cp == 0x0401 || cp == 0x0451) return kYo;
    return 0;
}

bool IsCombiningMark(char32_t cp) {
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) ||
           (cp >= 0x1DC0 && cp <= 0x1DFF) || (cp >= 0x20D0 && cp <= 0x20FF) ||
           (cp >= 0xFE20 && cp <= 0xFE2F);
}

// Characters that stand inside words without being seen: they neither part words nor count.
bool IsInvisible(char32_t cp) {
    return cp == 0x00AD || cp == 0x200C || cp == 0x200D || cp == 0x2060 || cp == 0xFEFF;
}

bool IsLineBreak(char32_t cp) {
    return cp == '\n' || cp == '\r' || cp == 0x2028 || cp == 0x2029;
}

// ---- messages -------------------------------------------------------------------------------

std::string Number(std::size_t n) { return std::to_string(n); }

// In quotes when the code page has it, else by its number.
std::string CharacterName(char32_t cp) {
    // Built from characters: GCC 12 wrongly warns of overlap when a literal starts the string.
    if (const auto byte = CodePointTo1251(cp)) return std::string{'«', *byte, '»'};
    static constexpr char kHex[] = "0123456789ABCDEF";
    int digits = 4;
    while (digits < 6 && (cp >> (4 * digits)) != 0) ++digits;
    std::string name{'U', '+'};
    for (int k = digits - 1; k >= 0; --k) name += kHex[(cp >> (4 * k)) & 0xF];
    return name;
}

TextReading Refused(TextRefusal refusal, std::string message) {
    TextReading reading;
    reading.refusal = refusal;
    reading.message = std::move(message);
    return reading;
}

std::string Where(std::size_t line, std::size_t column) {
    return "в строке " + Number(line) + ", позиции " + Number(column);
}

// "Ё, Й" from the letters present.
std::string LetterList(const std::vector<char>& letters) {
    std::string list;
    for (const char letter : letters) {
        if (!list.empty()) list += ", ";
        list += letter;
    }
    return list;
}

// ---- reading --------------------------------------------------------------------------------

enum class Mode { Cipher, Plain };

// The rarest letters of Russian first: a cipher letter shown as one of them is least likely to
// be taken for the plaintext letter it looks like.
std::vector<char> SpareLetterOrder() {
    std::vector<int> columns;
    for (int column = 1; column < kGapColumn; ++column) columns.push_back(column);
    std::stable_sort(columns.begin(), columns.end(), [](int a, int b) {
        return language::ReferenceShare(a) < language::ReferenceShare(b);
    });
    std::vector<char> letters;
    for (const int column : columns) letters.push_back(ColumnSymbol(column));
    return letters;
}

struct ExtraLetterNotes {
    std::vector<std::string> changes;  // one for each letter shown as another
    std::string warning;               // cipher letters merged
};

// Gives each of Ё, Й, Ъ in the text its letter of the working alphabet: in a cryptogram one
// that the text does not use, while there is room; otherwise, and in a plaintext, its fold.
ExtraLetterNotes PlaceExtraLetters(std::string& text, Mode mode) {
    std::array<bool, 256> used{};
    for (const char c : text) used[static_cast<unsigned char>(c)] = true;
    std::vector<char> present;
    std::vector<char> folds;
    for (const ExtraLetter& extra : kExtraLetters) {
        if (!used[static_cast<unsigned char>(extra.letter)]) continue;
        present.push_back(extra.letter);
        folds.push_back(extra.fold);
    }
    ExtraLetterNotes notes;
    if (present.empty()) return notes;
    const auto distinct = static_cast<std::size_t>(std::count(used.begin(), used.end(), true)) -
                          (used[static_cast<unsigned char>('_')] ? 1 : 0);
    const std::size_t room = kGapColumn - 1;

    std::array<char, 256> shownAs{};
    for (std::size_t b = 0; b < shownAs.size(); ++b) shownAs[b] = static_cast<char>(b);
    const bool one = present.size() == 1;
    if (mode == Mode::Plain || distinct > room) {
        for (const ExtraLetter& extra : kExtraLetters) {
            shownAs[static_cast<unsigned char>(extra.letter)] = extra.fold;
        }
        if (mode == Mode::Plain) {
            notes.changes.push_back(LetterList(present) +
                                    (one ? " заменена на " : " заменены на ") + LetterList(folds));
        } else {
            // 31 to 33 distinct letters here.
            notes.warning = "В шифровке " + Number(distinct) +
                            (distinct == 31 ? " разная буква" : " разные буквы") +
                            ", а программа различает 30: " + LetterList(present) +
                            (one ? " слита с " : " слиты с ") + LetterList(folds) +
                            ", и разные буквы шифра теперь не различить — расшифровка может не "
                            "сойтись.";
        }
    } else {
        // At most 30 distinct letters leave at least as many unused letters of the working
        // alphabet as there are extra ones to place.
        const std::vector<char> spares = SpareLetterOrder();
        for (std::size_t k = 0; k < present.size(); ++k) {
            const char letter = present[k];
            char spare = folds[k];
            if (used[static_cast<unsigned char>(spare)]) {
                spare = *std::find_if(spares.begin(), spares.end(), [&](char c) {
                    return !used[static_cast<unsigned char>(c)];
                });
            }
            used[static_cast<unsigned char>(spare)] = true;
            shownAs[static_cast<unsigned char>(letter)] = spare;
            notes.changes.push_back(std::string(1, letter) + " шифровки показана как " + spare);
        }
    }
    for (char& c : text) c = shownAs[static_cast<unsigned char>(c)];
    return notes;
}

template <class Next>
TextReading Read(Next next, Mode mode) {
    std::string text;
    std::size_t length = 0;  // of the line made, which is kept only while it fits
    std::size_t characters = 0;
    std::size_t changedGaps = 0;
    std::size_t line = 1;
    std::size_t column = 0;
    bool afterCr = false;
    bool inGap = false;
    bool gapIsOneUnderscore = false;  // the program's own gap, which is no change
    std::size_t gapCharacters = 0;

    const auto append = [&](char symbol) {
        if (length < kMaxTextLength) text += symbol;
        ++length;
    };
    const auto gap = [&](char32_t cp) {
        if (!inGap) gapCharacters = 0;
        inGap = true;
        ++gapCharacters;
        gapIsOneUnderscore = gapCharacters == 1 && cp == '_';
    };

    char32_t cp = 0;
    while (next(cp)) {
        ++characters;
        if (IsLineBreak(cp)) {
            if (cp != '\n' || !afterCr) {
                ++line;
                column = 0;
            }
            afterCr = cp == '\r';
            gap(cp);
            continue;
        }
        afterCr = false;
        ++column;
        if (cp == kMalformed) {
            return Refused(TextRefusal::BrokenUtf8,
                           "Текст в кодировке UTF-8 повреждён: неверный байт " +
                               Where(line, column) + ".");
        }
        if (IsCombiningMark(cp)) {
            // A decomposed Й or Ё; other marks (stress accents) are dropped.
            if (!inGap && length > 0 && length <= kMaxTextLength) {
                if (cp == 0x0306 && text.back() == 'И') text.back() = kShortI;
                if (cp == 0x0308 && text.back() == 'Е') text.back() = kYo;
            }
            continue;
        }
        if (IsInvisible(cp)) continue;
        if (const char letter = RussianLetter(cp)) {
            if (inGap && length > 0) {
                append('_');
                if (!gapIsOneUnderscore) ++changedGaps;
            }
            inGap = false;
            append(letter);
            continue;
        }
        if (IsLetterCodePoint(cp)) {
            return Refused(TextRefusal::ForeignLetter, "Символ " + CharacterName(cp) + " " +
                                                           Where(line, column) +
                                                           " — не русская буква.");
        }
        gap(cp);
    }

    if (length == 0) {
        return Refused(TextRefusal::NoLetters,
                       characters == 0 ? std::string("Текст пуст: в нём нет ни одной буквы.")
                                       : "В тексте нет ни одной буквы: в нём только знаки и "
                                         "пробелы (" + Number(characters) + ").");
    }
    if (length > kMaxTextLength) {
        return Refused(TextRefusal::TooLong,
                       "Текст длиннее 65535 знаков (в нём " + Number(length) +
                           " после замены знаков и пробелов на _): такой текст программа не "
                           "вмещает.");
    }

    TextReading reading;
    std::vector<std::string> changes;
    if (changedGaps > 0) {
        changes.push_back("Знаки и пробелы заменены на _ (" + Number(changedGaps) + ")");
    }
    const ExtraLetterNotes extra = PlaceExtraLetters(text, mode);
    changes.insert(changes.end(), extra.changes.begin(), extra.changes.end());
    for (std::size_t k = 0; k < changes.size(); ++k) {
        reading.notice += (k == 0 ? "" : "; ") + changes[k];
    }
    if (!reading.notice.empty()) reading.notice += ".";
    if (!extra.warning.empty()) {
        reading.notice += (reading.notice.empty() ? "" : " ") + extra.warning;
    }
    reading.text = std::move(text);
    return reading;
}

}  // namespace

bool IsLetterCodePoint(char32_t cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z');
    if (cp < 0x0370) {
        // Latin-1 and the Latin extensions, with the two signs among them.
        return cp == 0xAA || cp == 0xB5 || cp == 0xBA ||
               (cp >= 0xC0 && cp <= 0x02AF && cp != 0xD7 && cp != 0xF7);
    }
    if (cp <= 0x03FF) {
        return cp != 0x0374 && cp != 0x0375 && cp != 0x037E && cp != 0x0384 && cp != 0x0385 &&
               cp != 0x0387;
    }
    if (cp <= 0x052F) return cp <= 0x0481 || cp >= 0x048A;  // Cyrillic, without its signs
    return (cp >= 0x0531 && cp <= 0x0556) || (cp >= 0x0561 && cp <= 0x0587) ||  // Armenian
           (cp >= 0x05D0 && cp <= 0x05EA) ||                                     // Hebrew
           (cp >= 0x0620 && cp <= 0x064A) ||                                     // Arabic
           (cp >= 0x10A0 && cp <= 0x10FF) ||                                     // Georgian
           (cp >= 0x1E00 && cp <= 0x1FBC) ||  // Latin and Greek extended
           (cp >= 0x3041 && cp <= 0x30FF && cp != 0x30FB) ||                     // kana
           (cp >= 0x3400 && cp <= 0x4DBF) || (cp >= 0x4E00 && cp <= 0x9FFF) ||   // CJK
           (cp >= 0xAC00 && cp <= 0xD7A3) ||                                     // Hangul
           (cp >= 0xFF21 && cp <= 0xFF3A) || (cp >= 0xFF41 && cp <= 0xFF5A);     // wide Latin
}

TextReading ReadCipherText(std::string_view bytes) {
    return Read(ByteDecoder(bytes), Mode::Cipher);
}

TextReading ReadCipherText(std::u16string_view text) {
    return Read(WideDecoder(text), Mode::Cipher);
}

TextReading ReadPlainText(std::string_view bytes) { return Read(ByteDecoder(bytes), Mode::Plain); }

TextReading ReadPlainText(std::u16string_view text) {
    return Read(WideDecoder(text), Mode::Plain);
}

std::string FirstTextLine(std::string_view bytes, std::size_t maxLength) {
    ByteDecoder next(bytes);
    std::string line;
    char32_t cp = 0;
    while (line.size() < maxLength && next(cp) && !IsLineBreak(cp)) {
        line += cp == kMalformed ? '?' : CodePointTo1251(cp).value_or('?');
    }
    return line;
}

}  // namespace zam
