#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "toolkit/geometry.h"
#include "toolkit/strings.h"

namespace zam {
namespace {

TEST(Strings, DecimalReadsUpToTheFirstNonDigit) {
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(StrToInt("12ab"), 12);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("+8"), 8);
    EXPECT_EQ(StrToInt(" 5"), 0);  // no blanks skipped
    EXPECT_EQ(StrToInt("-"), 0);
    EXPECT_EQ(StrToInt("--3"), 0);
    EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    // Overlong digit runs wrap at 32 bits rather than overflow.
    EXPECT_EQ(StrToInt("4294967297"), 1);
    StrToInt("-99999999999999999999999999999999999999");
}

TEST(Strings, IntToHexPadsToTheDigitCountModulo16) {
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(0xABC, 2), "ABC");
    EXPECT_EQ(IntToHex(-1, 0), "FFFFFFFF");
    EXPECT_EQ(IntToHex(1, 17), "1");  // 17 % 16 == 1
    EXPECT_EQ(IntToHex(1, 15), "000000000000001");
    EXPECT_EQ(IntToHex(1, -1).size(), 15u);
}

TEST(Strings, HexToIntReadsOptionalDollarAndEitherCase) {
    EXPECT_EQ(HexToInt("$ff"), 255);
    EXPECT_EQ(HexToInt("Ab"), 0xAB);
    EXPECT_EQ(HexToInt("1fz2"), 0x1F);
    EXPECT_EQ(HexToInt("$"), 0);
    EXPECT_EQ(HexToInt("FFFFFFFF"), -1);
    EXPECT_EQ(HexToInt("123456789"), 0x23456789);  // wraps
}

TEST(Strings, TrimDropsControlCodesAndSpaceOnly) {
    const std::string padded = std::string("\0\t ab c\r\n ", 10);
    EXPECT_EQ(TrimLeft(padded), "ab c\r\n ");
    EXPECT_EQ(TrimRight(padded), std::string("\0\t ab c", 7));
    EXPECT_EQ(Trim(padded), "ab c");
    EXPECT_EQ(Trim("  \t"), "");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // no-break space is a letter here
}

TEST(Strings, PathsAndPositions) {
    EXPECT_EQ(CharPos("abc", 'c'), 3);
    EXPECT_EQ(CharPos("abc", 'z'), -1);
    EXPECT_EQ(ExtractFileName("C:\\dir\\f.txt"), "f.txt");
    EXPECT_EQ(ExtractFileName("C:f.txt"), "f.txt");
    EXPECT_EQ(ExtractFileName("f.txt"), "f.txt");
    EXPECT_EQ(ExtractFileName("C:\\dir\\"), "");
    EXPECT_EQ(ExtractFileName("a/b.txt"), "a/b.txt");
    EXPECT_EQ(IncludeTrailingChar("C:\\dir\\", '\\'), "C:\\dir\\");
    EXPECT_EQ(IncludeTrailingChar("", '\\'), "\\");
    // The start directory is the current one with one separator.
    EXPECT_EQ(GetStartDir(), IncludeTrailingChar(std::filesystem::current_path().string(), '/'));
}

TEST(Geometry, RectCenterRoundsHalfDifferencesTowardZeroAndAbsValueNeverNegative) {
    Point center = RectCenter(MakeRect(1, -7, 4, -2));
    EXPECT_EQ(center.x, 2);                       // 1 + 3/2
    EXPECT_EQ(center.y, -5);                      // -7 + 5/2
    center = RectCenter(MakeRect(4, -2, 1, -7));  // inverted: negative halves round up
    EXPECT_EQ(center.x, 3);                       // 4 + (-3)/2
    EXPECT_EQ(center.y, -4);                      // -2 + (-5)/2
    center = RectCenter(MakeRect(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN));
    EXPECT_EQ(center.x, -1);
    EXPECT_EQ(center.y, 0);
    EXPECT_EQ(AbsValue(-5), 5);
    EXPECT_EQ(AbsValue(INT32_MIN), INT32_MAX);
}

}  // namespace
}  // namespace zam
