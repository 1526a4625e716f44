#include <gtest/gtest.h>

#include <string>

#include "toolkit/open_save_dialog.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

using namespace std::string_literals;

TEST(WideText, RussianCrossesTheWin32BoundaryIntactAndOtherLettersBecomeQuestionMarks) {
    // Wide literals are UTF-16 from the compiler, independent of the conversion under test.
    EXPECT_EQ(Widen("Шифротекст: Ёё №, «ъ»"), L"Шифротекст: Ёё №, «ъ»");
    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every += static_cast<char>(byte);
    EXPECT_EQ(Narrow(Widen(every)), every);

    // Outside the macros: their stringified arguments are narrow, 1251 literals.
    const std::wstring greek = L"\u03BA_test.txt";
    const std::wstring emoji = L"a\U0001F600b";  // one character, a surrogate pair
    const std::wstring loneSurrogate = L"a\xD800";
    EXPECT_EQ(Narrow(greek), "?_test.txt");
    EXPECT_EQ(Narrow(emoji), "a?b");
    EXPECT_EQ(Narrow(loneSurrogate), "a?");
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
    EXPECT_EQ(DialogFlags(0xF000), fixed);  // bits past the table turn on nothing
    OpenSaveDialog* dialog = NewOpenSaveDialog("", "", 0);
    EXPECT_EQ(dialog->Options, kDefaultDialogOptions) << "0 takes the defaults";
    Free(dialog);
}

TEST(OpenSaveDialog, FiltersNamesAndMultiSelectionsAreSafelyTerminated) {
    EXPECT_EQ(DialogFilter("Тексты (*.txt)|*.txt|Все|*.*"),
              L"Тексты (*.txt)\0*.txt\0Все\0*.*\0\0"s);
    // A description without its pattern must not send the dialog past the end.
    EXPECT_EQ(DialogFilter("Тексты"), L"Тексты\0\0"s);
    EXPECT_EQ(DialogFilter(""), L"");

    std::vector<wchar_t> buffer = FileNameBuffer(std::string(300, 'x'), kFileBufferSize);
    ASSERT_EQ(buffer.size(), kFileBufferSize);
    EXPECT_EQ(std::wstring(buffer.data()), std::wstring(kFileBufferSize - 1, L'x'));
    EXPECT_EQ(std::wstring(FileNameBuffer("-шифр.txt", 16).data()), L"-шифр.txt");

    EXPECT_EQ(JoinMultiSelect(L"C:\\dir\0a.txt\0б.txt\0\0left over\0\0"s),
              L"C:\\dir\ra.txt\rб.txt");
    EXPECT_EQ(JoinMultiSelect(L"C:\\dir\\one.txt\0\0"s), L"C:\\dir\\one.txt");
    // A buffer that the dialog filled to the end: nothing read beyond it.
    EXPECT_EQ(JoinMultiSelect(L"C:\\d\0a"s), L"C:\\d\ra");
}

}  // namespace
}  // namespace zam
