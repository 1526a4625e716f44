#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "toolkit/geometry.h"
#include "toolkit/strings.h"

namespace zam {
namespace {

// Numbers read up to the first character that does not belong; no blanks are skipped and
// overlong runs wrap at 32 bits.
TEST(Strings, NumbersTrimsAndPaths) {
    const std::pair<const char*, int32_t> decimal[] = {
        {"12ab", 12}, {"-7", -7}, {" 5", 0}, {"-2147483648", INT32_MIN}, {"4294967297", 1}};
    for (const auto& [text, value] : decimal) {
        EXPECT_EQ(StrToInt(text), value) << text;
    }
    EXPECT_EQ(HexToInt("$ff"), 255);
    EXPECT_EQ(IntToHex(-1, 0), "FFFFFFFF");

    const std::string padded = std::string("\0\t ab c\r\n ", 10);
    EXPECT_EQ(TrimLeft(padded), "ab c\r\n ");
    EXPECT_EQ(TrimRight(padded), std::string("\0\t ab c", 7));
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // a no-break space is no blank
}

TEST(Geometry, RectCenterRoundsHalfDifferencesTowardZero) {
    EXPECT_EQ(RectCenter(MakeRect(1, -7, 4, -2)).y, -5);
    EXPECT_EQ(RectCenter(MakeRect(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN)).x, -1);
    EXPECT_EQ(AbsValue(INT32_MIN), INT32_MAX);
}

}  // namespace
}  // namespace zam
