#include "Tvk_String.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Wide texts are 16-bit units; char16_t literals give them readably.
using Wide = std::vector<unsigned short>;
Wide W(const char16_t* text) {
  Wide units;
  for (; *text; ++text) units.push_back(static_cast<unsigned short>(*text));
  units.push_back(0);
  return units;
}
std::u16string Text(const unsigned short* text) {
  std::u16string result;
  for (; text && *text; ++text) result.push_back(static_cast<char16_t>(*text));
  return result;
}

TEST(Tvk_String, StartsWithTwoNullTexts) {
  Tvk_String s;
  EXPECT_EQ(s.GetString(), nullptr);
  EXPECT_EQ(s.GetWString(), nullptr);
}

TEST(Tvk_String, SettingOneTextLeavesTheOtherAlone) {
  Tvk_String s;
  Wide wide = W(u"wide");
  s.SetWString(wide.data());
  const unsigned short* wideBefore = s.GetWString();

  s.SetString("");
  ASSERT_NE(s.GetString(), nullptr);
  EXPECT_STREQ(s.GetString(), "");
  s.SetString("narrow");
  EXPECT_STREQ(s.GetString(), "narrow");
  s.SetString(nullptr);
  EXPECT_EQ(s.GetString(), nullptr);

  EXPECT_EQ(s.GetWString(), wideBefore);
  EXPECT_EQ(Text(s.GetWString()), u"wide");

  s.SetString("kept");
  Wide empty = W(u"");
  s.SetWString(empty.data());
  ASSERT_NE(s.GetWString(), nullptr);
  EXPECT_EQ(s.GetWString()[0], 0);
  s.SetWString(nullptr);
  EXPECT_EQ(s.GetWString(), nullptr);
  EXPECT_STREQ(s.GetString(), "kept");
}

TEST(Tvk_String, AddStringSetsAppendsOrLeavesAlone) {
  Tvk_String s;
  s.AddString(static_cast<const char*>(nullptr));
  EXPECT_EQ(s.GetString(), nullptr);
  s.AddString("");  // no text yet: same as SetString
  EXPECT_STREQ(s.GetString(), "");
  s.AddString("abc");
  EXPECT_STREQ(s.GetString(), "abc");
  const char* before = s.GetString();
  s.AddString("");
  EXPECT_EQ(s.GetString(), before);
  s.AddString("def");
  EXPECT_STREQ(s.GetString(), "abcdef");
  EXPECT_EQ(s.GetWString(), nullptr);

  Wide ab = W(u"ab"), cd = W(u"cd\u0416"), empty = W(u"");
  s.AddString(ab.data());
  const unsigned short* wideBefore = s.GetWString();
  s.AddString(empty.data());
  EXPECT_EQ(s.GetWString(), wideBefore);
  s.AddString(cd.data());
  EXPECT_EQ(Text(s.GetWString()), u"abcd\u0416");
  EXPECT_STREQ(s.GetString(), "abcdef");
}

TEST(Tvk_String, ATextMayBeSetFromAndExtendedByItself) {
  Tvk_String s;
  s.SetString("self");
  s.SetString(s.GetString());
  EXPECT_STREQ(s.GetString(), "self");
  s.AddString(s.GetString());
  EXPECT_STREQ(s.GetString(), "selfself");

  Wide wide = W(u"w");
  s.SetWString(wide.data());
  s.SetWString(s.GetWString());
  s.AddString(s.GetWString());
  EXPECT_EQ(Text(s.GetWString()), u"ww");
}

TEST(Tvk_String, SetMaxCarsCutsOnlyLongerTexts) {
  struct Case {
    int n;
    const char* narrow;
    const char16_t* wide;
  };
  const Case cases[] = {
      {0, "abcdef", u"abcdefgh"}, {-3, "abcdef", u"abcdefgh"}, {3, "abc", u"abc"},
      {6, "abcdef", u"abcdef"},   {7, "abcdef", u"abcdefg"},   {20, "abcdef", u"abcdefgh"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    Tvk_String s;
    Wide wide = W(u"abcdefgh");
    s.SetString("abcdef");
    s.SetWString(wide.data());
    s.SetMaxCars(c.n);
    EXPECT_STREQ(s.GetString(), c.narrow);
    EXPECT_EQ(Text(s.GetWString()), c.wide);
  }
  Tvk_String onlyWide;
  Wide wide = W(u"abcdef");
  onlyWide.SetWString(wide.data());
  onlyWide.SetMaxCars(2);
  EXPECT_EQ(onlyWide.GetString(), nullptr);
  EXPECT_EQ(Text(onlyWide.GetWString()), u"ab");
}

TEST(Tvk_String, CaseMappingConvertsBothTexts) {
  Tvk_String s;
  s.StrUpr();  // nothing there: nothing happens
  s.SetString("MiXed 12_z");
  // Cyrillic and a surrogate pair lie outside the mapped range and stay.
  Wide wide = W(u"MiXed \u0416\u0436 \U0001F600");
  s.SetWString(wide.data());

  s.StrLwr();
  EXPECT_STREQ(s.GetString(), "mixed 12_z");
  EXPECT_EQ(Text(s.GetWString()), u"mixed \u0416\u0436 \U0001F600");
  s.StrUpr();
  EXPECT_STREQ(s.GetString(), "MIXED 12_Z");
  EXPECT_EQ(Text(s.GetWString()), u"MIXED \u0416\u0436 \U0001F600");
}

TEST(Tvk_String, MakeFullNameKeepsTheLastPathComponent) {
  struct Case {
    const char* path;
    const char* name;
  };
  const Case cases[] = {
      {"C:\\dir\\sub/file.cgr", "file.cgr"},
      {"C:\\dir\\sub\\file.cgr", "file.cgr"},
      {"dir/sub\\file", "file"},
      {"file.cgr", "file.cgr"},
      {"\\file.cgr", "\\file.cgr"},  // position 0 is never examined
      {"/file.cgr", "/file.cgr"},
      {"C:\\dir\\", ""},
      {"a/", ""},
      {"", ""},
  };
  Tvk_String s;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    char path[300];
    std::strcpy(path, c.path);
    EXPECT_EQ(s.MakeFULLName(path), path);
    EXPECT_STREQ(path, c.name);
  }
}

TEST(Tvk_String, MakeFullNameWorksOnTheFirst258Characters) {
  // The separator at 250 lies inside the cut; what follows it is cut at 258.
  std::string longPath = std::string(250, 'x') + "\\" + std::string(49, 'y');
  std::vector<char> path(longPath.begin(), longPath.end());
  path.push_back('\0');
  Tvk_String().MakeFULLName(path.data());
  EXPECT_STREQ(path.data(), "yyyyyyy");

  // A separator beyond the cut is not seen at all.
  std::string hidden = std::string(270, 'x') + "\\name";
  std::vector<char> unchanged(hidden.begin(), hidden.end());
  unchanged.push_back('\0');
  Tvk_String().MakeFULLName(unchanged.data());
  EXPECT_EQ(std::string(unchanged.data()), hidden);
}

}  // namespace
