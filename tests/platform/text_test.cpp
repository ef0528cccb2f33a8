#include "platform/text.h"

#include <gtest/gtest.h>

#include "platform/error.h"

using namespace platform;

TEST(Text, GbkAndUtf8ConvertBothWays) {
  const std::string gbk = "文本框";  // compiled to GBK bytes
  ASSERT_EQ(gbk, std::string("\xCE\xC4\xB1\xBE\xBF\xF2"));
  EXPECT_EQ(GbkToUtf8(gbk), std::string("\xE6\x96\x87\xE6\x9C\xAC\xE6\xA1\x86"));
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(gbk)), gbk);
  EXPECT_EQ(Utf16ToGbk(GbkToUtf16(gbk + "abc")), gbk + "abc");
}

TEST(Text, UnconvertibleBytesBecomeQuestionMarks) {
  EXPECT_EQ(GbkToUtf8(std::string("a\xFF") + "b"), "a?b");
  EXPECT_EQ(Utf8ToGbk("x\xF0\x9F\x98\x80y"), "x?y");  // an emoji has no GBK code
}

TEST(Text, ReplaceRepeatsUntilNoOccurrenceIsLeft) {
  EXPECT_EQ(ReplaceText("a<%BR%>b<%BR%>", "<%BR%>", "\r\n"), "a\r\nb\r\n");
  // Removing "ab" from "aabb" leaves a new "ab", which is removed too.
  EXPECT_EQ(ReplaceText("aabb", "ab", ""), "");
  EXPECT_EQ(ReplaceText("none here", "<%x%>", "y"), "none here");
}

TEST(Text, ReplacementContainingItsPatternEnds) {
  EXPECT_EQ(ReplaceText("x-x", "x", "xx"), "xx-xx");
  EXPECT_EQ(ReplaceText("abc", "", "zz"), "abc");
}

TEST(Text, LineBreaksEncodeAndDecode) {
  std::string text = "第一行\r\n第二行\r\n";
  EXPECT_EQ(EncodeLineBreaks(text), "第一行<%BR%>第二行<%BR%>");
  EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks(text)), text);
  EXPECT_EQ(EncodeLineBreaks("a\r\nb", kCaptionLineBreakMarker), "a<%br%>b");
  EXPECT_EQ(DecodeLineBreaks("a<%BR%>b", kCaptionLineBreakMarker), "a<%BR%>b");
}

TEST(Text, TrimRightRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(TrimRight("abc \t\r\n\x01"), "abc");
  EXPECT_EQ(TrimRight("  lead"), "  lead");
  EXPECT_EQ(Trim(" \tmid dle \r\n"), "mid dle");
  EXPECT_EQ(TrimRight("中文 "), "中文");
}

TEST(Text, LeadBytesAndCaseFoldingLeaveDoubleByteCharactersAlone) {
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0xFE));
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_FALSE(IsLeadByte(0xFF));
  // 0x81 0x41: a double-byte character whose trail byte is 'A'.
  std::string s = "\x81" "AbC";
  EXPECT_EQ(AsciiLower(s), "\x81" "Abc");
  EXPECT_TRUE(EqualsNoCase("CardWidth", "cardwidth"));
}

TEST(Text, IntegerConversionReadsAsThePlatformDoes) {
  EXPECT_EQ(StrToInt("123"), 123);
  EXPECT_EQ(StrToInt("-16777201"), -16777201);
  EXPECT_EQ(StrToInt("$FF00000F"), static_cast<int>(0xFF00000F));
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(StrToIntDef("12a", -1), -1);
}

TEST(Text, BadIntegerTextRaisesTheConversionError) {
  for (const char* bad : {"abc", "", "12 ", "1.5", "2147483648", "-"}) {
    try {
      StrToInt(bad);
      FAIL() << "no error for '" << bad << "'";
    } catch (const ConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
    }
  }
}
