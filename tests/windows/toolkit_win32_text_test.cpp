#include <gtest/gtest.h>

#include <string>

#include "toolkit/open_save_dialog.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

using namespace std::string_literals;

TEST(WideText, RussianTextsCrossTheWin32BoundaryIntact) {
    // Wide literals are UTF-16 from the compiler, independent of the conversion under test.
    EXPECT_EQ(Widen("Шифротекст: Ёё №, «ъ»"), L"Шифротекст: Ёё №, «ъ»");
    EXPECT_EQ(Narrow(L"Шифротекст: Ёё №, «ъ»"), "Шифротекст: Ёё №, «ъ»");
    EXPECT_EQ(Widen(""), L"");

    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every += static_cast<char>(byte);
    EXPECT_EQ(Narrow(Widen(every)), every);
}

TEST(WideText, NarrowMarksEachCharacterCp1251CannotSpell) {
    // Outside the macros: their stringified arguments are narrow, 1251 literals.
    const std::wstring greek = L"\u03BA_test.txt";
    const std::wstring emoji = L"a\U0001F600b";  // one character, a surrogate pair
    const std::wstring loneSurrogate = L"a\xD800";
    const std::wstring chinese = L"\u6F22\u5B57.txt";
    EXPECT_EQ(Narrow(greek), "?_test.txt");
    EXPECT_EQ(Narrow(emoji), "a?b");
    EXPECT_EQ(Narrow(loneSurrogate), "a?");
    EXPECT_EQ(Narrow(chinese), "??.txt");
}

TEST(OpenSaveDialog, OptionBitsMapToTheirFlagsPlusTheFixedOnes) {
    constexpr DWORD fixed = OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
    const DWORD table[] = {
        OFN_CREATEPROMPT,     OFN_EXTENSIONDIFFERENT, OFN_FILEMUSTEXIST,    OFN_HIDEREADONLY,
        OFN_NOCHANGEDIR,      OFN_NODEREFERENCELINKS, OFN_ALLOWMULTISELECT, OFN_NONETWORKBUTTON,
        OFN_NOREADONLYRETURN, OFN_OVERWRITEPROMPT,    OFN_PATHMUSTEXIST,    OFN_READONLY,
    };
    for (int bit = 0; bit < 12; ++bit) {
        EXPECT_EQ(DialogFlags(static_cast<std::uint16_t>(1u << bit)), table[bit] | fixed) << bit;
    }
    EXPECT_EQ(DialogFlags(kDefaultDialogOptions), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                                                      OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST |
                                                      fixed);
    EXPECT_EQ(DialogFlags(0), fixed);
    EXPECT_EQ(DialogFlags(0xF000), fixed);  // bits past the table turn on nothing
}

TEST(OpenSaveDialog, NewDialogOpensAndTakesTheDefaultOptionsForZero) {
    OpenSaveDialog* dialog = NewOpenSaveDialog("Заголовок", "C:\\Папка", 0);
    EXPECT_EQ(dialog->Title, "Заголовок");
    EXPECT_EQ(dialog->InitialDir, "C:\\Папка");
    EXPECT_EQ(dialog->OpenDialog, 1);
    EXPECT_EQ(dialog->Options, kDefaultDialogOptions);
    EXPECT_EQ(dialog->WndOwner, nullptr);
    Free(dialog);

    dialog = NewOpenSaveDialog("", "", kDialogAllowMultiSelect);
    EXPECT_EQ(dialog->Options, kDialogAllowMultiSelect);
    Free(dialog);
}

// Walks a filter list the way the dialog does, (description, pattern) pairs up to an empty
// description, and fails the test where that would read past the string's own terminator.
std::vector<std::wstring> WalkFilter(const std::wstring& list) {
    std::vector<std::wstring> parts;
    const wchar_t* p = list.c_str();
    const wchar_t* const end = p + list.size() + 1;
    for (;;) {
        if (p >= end) {
            ADD_FAILURE() << "the dialog would read past the end";
            break;
        }
        if (*p == L'\0')
            break;
        for (int part = 0; part < 2 && p < end; ++part) {
            parts.emplace_back(p);
            p += parts.back().size() + 1;
        }
    }
    return parts;
}

TEST(OpenSaveDialog, FilterBarsBecomeNulsAndTheListIsSafelyTerminated) {
    EXPECT_EQ(DialogFilter("CODE files (*.txt)|*.txt"), L"CODE files (*.txt)\0*.txt\0\0"s);
    EXPECT_EQ(WalkFilter(DialogFilter("Тексты (*.txt)|*.txt|Все|*.*")),
              (std::vector<std::wstring>{L"Тексты (*.txt)", L"*.txt", L"Все", L"*.*"}));
    EXPECT_EQ(DialogFilter(""), L"");
    // A description without its pattern must not send the dialog past the end.
    EXPECT_EQ(WalkFilter(DialogFilter("Тексты")), (std::vector<std::wstring>{L"Тексты", L""}));
    EXPECT_EQ(WalkFilter(DialogFilter("a|*.a|")), (std::vector<std::wstring>{L"a", L"*.a"}));
}

TEST(OpenSaveDialog, FileNameBufferHoldsTheNameCutToFitBeforeANul) {
    std::vector<wchar_t> buffer = FileNameBuffer("-шифр.txt", kFileBufferSize);
    ASSERT_EQ(buffer.size(), kFileBufferSize);
    EXPECT_EQ(std::wstring(buffer.data()), L"-шифр.txt");

    const std::string longName(300, 'x');
    buffer = FileNameBuffer(longName, kFileBufferSize);
    EXPECT_EQ(std::wstring(buffer.data()), std::wstring(kFileBufferSize - 1, L'x'));
    EXPECT_EQ(buffer.back(), L'\0');

    EXPECT_EQ(FileNameBuffer("", 4), std::vector<wchar_t>(4, L'\0'));
    EXPECT_TRUE(FileNameBuffer("abc", 0).empty());
}

TEST(OpenSaveDialog, MultiSelectNulsBecomeCarriageReturnsUpToTheDoubleNul) {
    EXPECT_EQ(JoinMultiSelect(L"C:\\dir\0a.txt\0б.txt\0\0left over\0\0"s),
              L"C:\\dir\ra.txt\rб.txt");
    EXPECT_EQ(JoinMultiSelect(L"C:\\dir\\one.txt\0\0"s), L"C:\\dir\\one.txt");
    EXPECT_EQ(JoinMultiSelect(L"\0\0"s), L"");
    EXPECT_EQ(JoinMultiSelect(L""), L"");
    // A buffer that the dialog filled to the end: nothing read beyond it.
    EXPECT_EQ(JoinMultiSelect(L"C:\\d\0a"s), L"C:\\d\ra");
    EXPECT_EQ(JoinMultiSelect(L"C:\\d\0"s), L"C:\\d");
}

}  // namespace
}  // namespace zam
