#include "zov/vb/strings.h"

#include <gtest/gtest.h>

#include "vb_error.h"

namespace zov::vb {
namespace {

using Pieces = std::vector<std::string>;
constexpr CompareMethod kText = CompareMethod::Text;

TEST(VbStrings, PositionsCountCharactersNotBytes) {
  EXPECT_EQ(Len("中文abc"), 5);
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Left("中文abc", 1), "中");
  EXPECT_EQ(Left("ab", 5), "ab");
  EXPECT_EQ(Right("中文abc", 4), "文abc");
  EXPECT_EQ(Right("ab", 5), "ab");
  EXPECT_EQ(Mid("中文abc", 2, 2), "文a");
  EXPECT_EQ(Mid("中文abc", 3), "abc");
  EXPECT_EQ(Mid("abc", 5), "");
  EXPECT_EQ(Mid("abc", 2, 0), "");
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Mid("abc", 0));
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Mid("abc", 1, -1));
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Left("abc", -1));
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Right("abc", -1));

  // Two-, three- and four-byte characters; malformed bytes count one each and are kept.
  std::vector<char32_t> codes;
  for (Utf8Char ch : Utf8Chars("é中😀\xff\xe4\xb8")) codes.push_back(ch.code);
  EXPECT_EQ(codes, (std::vector<char32_t>{0xE9, 0x4E2D, 0x1F600, 0xFFFD, 0xFFFD, 0xFFFD}));
  EXPECT_EQ(Len("\xc0\xaf"), 2);  // an overlong "/" is two bad bytes
  EXPECT_EQ(Left("a\xff"
                 "b",
                 2),
            "a\xff");
  EXPECT_EQ(EncodeUtf8(0x1F600), "😀");
}

TEST(VbStrings, InStrWithBinaryAndTextCompare) {
  EXPECT_EQ(InStr("abcabc", "c"), 3);
  EXPECT_EQ(InStr(4, "abcabc", "c"), 6);
  EXPECT_EQ(InStr("abc", "x"), 0);
  EXPECT_EQ(InStr("abc", ""), 1);
  EXPECT_EQ(InStr(3, "abc", ""), 3);
  EXPECT_EQ(InStr(4, "abc", ""), 4);
  EXPECT_EQ(InStr(5, "abc", ""), 0);
  EXPECT_EQ(InStr("", ""), 0);
  EXPECT_EQ(InStr(9, "abc", "a"), 0);
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, InStr(0, "abc", "a"));

  EXPECT_EQ(InStr("商品ABC编码", "abc"), 0);
  EXPECT_EQ(InStr(1, "商品ABC编码", "abc", kText), 3);
  EXPECT_EQ(InStr(1, "商品ABC编码", "C编", kText), 5);
  EXPECT_EQ(InStr(4, "销售订单订单", "订单", kText), 5);
  EXPECT_EQ(InStr(1, "Price 单价", "PRICE 单", kText), 1);
  EXPECT_EQ(InStr(1, "Ärger ÖL", "öl", kText), 7);
  EXPECT_EQ(InStr(1, "ＡＢＣ", "abc", kText), 1);  // text compare ignores width
  EXPECT_EQ(InStr(1, "ab", "AB", CompareMethod::Binary), 0);

  EXPECT_EQ(InStrRev("a,b,c", ","), 4);
  EXPECT_EQ(InStrRev("a,b,c", ",", 3), 2);
  EXPECT_EQ(InStrRev("中,文,字", ","), 4);
  EXPECT_EQ(InStrRev("abcabc", "bc", 5), 2);
  EXPECT_EQ(InStrRev("ABCabc", "b", -1, kText), 5);
  EXPECT_EQ(InStrRev("abc", "", 2), 2);
  EXPECT_EQ(InStrRev("abc", "x"), 0);
  EXPECT_EQ(InStrRev("abc", "a", 4), 0);
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, InStrRev("abc", "a", 0));
}

TEST(VbStrings, CaseAndTrim) {
  EXPECT_EQ(UCase("abc中文äöüÿ"), "ABC中文ÄÖÜŸ");
  EXPECT_EQ(LCase("ÀÉÎ ĀĐŁŽ ΣΑΒ АБВЁ ＡＢ"), "àéî āđłž σαβ абвё ａｂ");
  EXPECT_EQ(UCase("àéî āđłž σαβς абвё"), "ÀÉÎ ĀĐŁŽ ΣΑΒΣ АБВЁ");
  EXPECT_EQ(UCase("ß"), "ß");
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("\ta\t"), "\ta\t");
  EXPECT_EQ(Trim("　a　"), "　a　");  // only the ASCII space
  EXPECT_EQ(LTrim("  a "), "a ");
  EXPECT_EQ(RTrim(" a  "), " a");
  EXPECT_EQ(Trim("   "), "");
}

TEST(VbStrings, SplitJoinReplace) {
  EXPECT_EQ(Split("", ","), Pieces{});
  EXPECT_EQ(Split("a,b,,c", ","), (Pieces{"a", "b", "", "c"}));
  EXPECT_EQ(Split(",", ","), (Pieces{"", ""}));
  EXPECT_EQ(Split("a,b,c", ",", 2), (Pieces{"a", "b,c"}));
  EXPECT_EQ(Split("a,b", ",", 0), Pieces{});
  EXPECT_EQ(Split("abc", ""), Pieces{"abc"});
  EXPECT_EQ(Split("a b"), (Pieces{"a", "b"}));
  EXPECT_EQ(Split("aXbxc", "x", -1, kText), (Pieces{"a", "b", "c"}));
  EXPECT_EQ(Split("中，文，字", "，"), (Pieces{"中", "文", "字"}));
  EXPECT_EQ(Split("a||b", "||"), (Pieces{"a", "b"}));
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Split("a", ",", -2));
  EXPECT_EQ(Join({"a", "b", ""}, ","), "a,b,");
  EXPECT_EQ(Join({}, ","), "");
  EXPECT_EQ(Join(Split("x;y;;z", ";"), ";"), "x;y;;z");

  EXPECT_EQ(Replace("abcabc", "b", "x"), "axcaxc");
  EXPECT_EQ(Replace("abcabc", "b", "x", 3), "caxc");  // VB drops what lies before start
  EXPECT_EQ(Replace("abcabc", "b", "x", 1, 1), "axcabc");
  EXPECT_EQ(Replace("aBcAbC", "b", "-", 1, -1, kText), "a-cA-C");
  EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");
  EXPECT_EQ(Replace("中文中文", "中", "汉"), "汉文汉文");
  EXPECT_EQ(Replace("O'Neil", "'", "''"), "O''Neil");
  EXPECT_EQ(Replace("abc", "", "x"), "abc");
  EXPECT_EQ(Replace("abc", "b", "x", 4), "");
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Replace("abc", "b", "x", 0));

  EXPECT_EQ(StrComp("a", "B"), 1);
  EXPECT_EQ(StrComp("a", "B", kText), -1);
  EXPECT_EQ(StrComp("abc", "ABC", kText), 0);
  EXPECT_EQ(StrComp("ab", "abc"), -1);
  EXPECT_EQ(StrComp("中", "中"), 0);
}

TEST(VbStrings, CharactersAndRepeats) {
  EXPECT_EQ(Chr(10), "\n");
  EXPECT_EQ(Chr(13), "\r");
  EXPECT_EQ(Chr(13) + Chr(10), vbCrLf);
  EXPECT_EQ(Chr(0x4E2D), "中");
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Chr(-1));
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Chr(0xD800));
  EXPECT_EQ(Asc("A"), 65);
  EXPECT_EQ(Asc("中文"), 0x4E2D);
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Asc(""));
  EXPECT_EQ(Space(3), "   ");
  EXPECT_EQ(String(3, "ab"), "aaa");
  EXPECT_EQ(String(2, "中国"), "中中");
  EXPECT_EQ(String(2, 0x4E2D), "中中");
  EXPECT_EQ(String(0, "x"), "");
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, Space(-1));
  EXPECT_VB_ERROR(kErrInvalidProcedureCall, String(1, ""));
}

}  // namespace
}  // namespace zov::vb
