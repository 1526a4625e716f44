#include <gtest/gtest.h>

#include "toolkit/encoding.h"

namespace zam {
namespace {

TEST(Encoding, EveryByteRoundTripsThroughUnicode) {
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf16To1251(Cp1251ToUtf16(one)), one) << b;
        EXPECT_EQ(Utf8To1251(Cp1251ToUtf8(one)), one) << b;
    }
    EXPECT_EQ(Cp1251ToUtf8("Шя"), "\xD0\xA8\xD1\x8F");
}

TEST(Encoding, WhatTheCodePageCannotHold) {
    EXPECT_FALSE(Utf8To1251("\xCE\xBA"));       // Greek kappa
    EXPECT_FALSE(Utf8To1251("\xC0\x80"));       // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xE0\x9F\xBF"));  // U+07FF in three bytes
    EXPECT_FALSE(Utf8To1251("\xED\xA0\x80"));   // surrogate
    EXPECT_FALSE(Utf8To1251("\xD0"));           // cut short
    EXPECT_EQ(Utf8To1251Lossy(std::string("a\xCE\xBA") + "b\xD0"), "a?b?");
    EXPECT_EQ(Utf16To1251(u"\u03BA_\U0001F600"), "?_?");  // a surrogate pair is one letter
    EXPECT_EQ(Utf16To1251(u"a\xD800"), "a?");             // half a pair is one too
    EXPECT_EQ(PathTo1251(std::filesystem::path("/tmp/\xCE\xBA\xD0\x96.txt").filename()), "?Ж.txt");
}

}  // namespace
}  // namespace zam
