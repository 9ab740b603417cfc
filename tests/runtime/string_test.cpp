// Text: the number/text conversions the progress record relies on, slicing, splitting and sharing.
#include <gtest/gtest.h>

#include <climits>

#include "runtime/array.h"
#include "runtime/string.h"

namespace {

std::string Bytes(const String& s) { return s.ToBytes(); }

TEST(StringConversion, IntegersPrintAsDecimal) {
    EXPECT_EQ(Bytes(String(0)), "0");
    EXPECT_EQ(Bytes(String(-7)), "-7");
    EXPECT_EQ(Bytes(String(1483)), "1483");
    EXPECT_EQ(Bytes(String(INT_MIN)), "-2147483648");
}

TEST(StringConversion, FloatsPrintWithSeventeenDigitsAndAPoint) {
    EXPECT_EQ(Bytes(String(2.0f)), "2.0");
    EXPECT_EQ(Bytes(String(1.5f)), "1.5");
    EXPECT_EQ(Bytes(String(100.0f)), "100.0");
    EXPECT_EQ(Bytes(String(0.1f)), "0.10000000149011612");
    EXPECT_EQ(Bytes(String(123456789.0f)), "123456792.0");
    EXPECT_EQ(Bytes(String(1e20f)), "1.0000000200408773e+20");
    EXPECT_EQ(Bytes(String(-0.5f)), "-0.5");
}

TEST(StringConversion, ToIntFollowsAtoi) {
    EXPECT_EQ(String("  42abc").ToInt(), 42);
    EXPECT_EQ(String("abc").ToInt(), 0);
    EXPECT_EQ(String("-7").ToInt(), -7);
    EXPECT_EQ(String("+12").ToInt(), 12);
    EXPECT_EQ(String("").ToInt(), 0);
    EXPECT_EQ(String("\t\n 9|").ToInt(), 9);
    EXPECT_EQ(String("-2147483648").ToInt(), INT_MIN);
    EXPECT_EQ(String("2147483647").ToInt(), INT_MAX);
}

TEST(StringConversion, ToIntSaturatesBeyondThirtyTwoBits) {
    EXPECT_EQ(String("2147483648").ToInt(), INT_MAX);
    EXPECT_EQ(String("-2147483649").ToInt(), INT_MIN);
    EXPECT_EQ(String("99999999999999999999999999999999999999").ToInt(), INT_MAX);
    EXPECT_EQ(String("-99999999999999999999999999999999999999").ToInt(), INT_MIN);
}

TEST(StringConversion, ToIntReadsOnlySixtyThreeUnitsAndLowBytes) {
    std::string longText(62, ' ');
    EXPECT_EQ(String((longText + "12").c_str()).ToInt(), 1);  // the 63-unit cut leaves "1"
    const char16_t wide[] = {0x0131, 0x0132, 0};               // low bytes '1' and '2'
    EXPECT_EQ(String(wide).ToInt(), 12);
}

TEST(StringConversion, RoundTripsEveryIntThroughText) {
    for (int v : {0, 1, -1, 6, 1483, 123456789, INT_MAX, INT_MIN, -65536}) EXPECT_EQ(String(v).ToInt(), v);
}

TEST(StringSlice, ClampsAndCountsFromTheEnd) {
    String s("abcdef");
    EXPECT_EQ(Bytes(s.Slice(-3, -1)), "de");
    EXPECT_EQ(Bytes(s.Slice(4, 2)), "");
    EXPECT_EQ(Bytes(s.Slice(-100, 2)), "ab");
    EXPECT_EQ(Bytes(s.Slice(3, 100)), "def");
    EXPECT_EQ(Bytes(s.Slice(10)), "");
    EXPECT_TRUE(s.Slice(0, 6).SharesWith(s));
}

TEST(StringSplitJoin, KeepsEmptyPieces) {
    Array<String> parts = String("a,,b,").Split(String(","));
    ASSERT_EQ(parts.Length(), 4);
    EXPECT_EQ(Bytes(parts[0]), "a");
    EXPECT_EQ(Bytes(parts[1]), "");
    EXPECT_EQ(Bytes(parts[2]), "b");
    EXPECT_EQ(Bytes(parts[3]), "");

    EXPECT_EQ(String("").Split(String("|")).Length(), 1);
    EXPECT_EQ(String("").Split(String("")).Length(), 0);
    EXPECT_EQ(String("xyz").Split(String("")).Length(), 3);
    Array<String> whole = String("abc").Split(String("|"));
    ASSERT_EQ(whole.Length(), 1);
    EXPECT_EQ(Bytes(whole[0]), "abc");
    EXPECT_EQ(String("a||b").Split(String("||")).Length(), 2);
}

TEST(StringSplitJoin, JoinIsSplitsInverse) {
    String bar("|");
    Array<String> one{String("only")};
    EXPECT_TRUE(bar.Join(one).SharesWith(one[0]));
    EXPECT_EQ(Bytes(bar.Join(Array<String>())), "");
    String record("1|2||3|");
    EXPECT_EQ(bar.Join(record.Split(bar)), record);
}

TEST(StringReplace, ReplacesNonOverlappingLeftToRight) {
    EXPECT_EQ(Bytes(String("aaaa").Replace(String("aa"), String("b"))), "bb");
    EXPECT_EQ(Bytes(String("aaa").Replace(String("aa"), String("b"))), "ba");
    String s("hello");
    EXPECT_TRUE(s.Replace(String("x"), String("y")).SharesWith(s));
    EXPECT_TRUE(s.Replace(String(""), String("y")).SharesWith(s));
}

TEST(StringBasics, ConcatenationAndEmptySharing) {
    String a("ab"), empty;
    EXPECT_TRUE((a + empty).SharesWith(a));
    EXPECT_TRUE((empty + a).SharesWith(a));
    EXPECT_TRUE(String("").SharesWith(String()));  // one shared empty text
    EXPECT_EQ(Bytes(a + String("cd")), "abcd");
    EXPECT_EQ(String("x"), String::FromChar('x'));
    EXPECT_NE(String("x"), String("xy"));
}

TEST(StringBasics, CaseSearchAndUtf8) {
    EXPECT_EQ(Bytes(String("Data/Sfx/001.WAV").ToLower()), "data/sfx/001.wav");
    EXPECT_TRUE(String("zindle://data/x").StartsWith(String("zindle:")));
    EXPECT_TRUE(String("a.ogg").EndsWith(String(".ogg")));
    EXPECT_EQ(String("a:/b:/").Find(String(":/"), 2), 4);
    const char16_t units[] = {'A', 0xE9, 0x20AC, 0};
    String s(units);
    EXPECT_EQ(s.ToUtf8(), "A\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(String::FromUtf8(s.ToUtf8()), s);
}

}  // namespace
