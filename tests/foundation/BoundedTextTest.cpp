#include "BoundedText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

TEST(BoundedText, CopyTextCutsWithoutOverrunning) {
  struct Case {
    const char* source;
    std::size_t maxChars;
    const char* result;
  };
  const Case cases[] = {
      {"hello", 10, "hello"}, {"hello", 5, "hello"}, {"hello", 3, "hel"},
      {"hello", 0, ""},       {"", 4, ""},           {nullptr, 4, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source ? c.source : "(null)");
    char dest[16];
    std::memset(dest, '#', sizeof dest);
    EXPECT_EQ(CopyText(dest, c.source, c.maxChars), dest);
    EXPECT_STREQ(dest, c.result);
  }
}

TEST(BoundedText, CopyTextReadsNoFurtherThanTheLimit) {
  // A full fixed field without terminator: exactly four bytes on the heap, so
  // a read past them would be caught.
  std::unique_ptr<char[]> field(new char[4]{'a', 'b', 'c', 'd'});
  char dest[5];
  CopyText(dest, field.get(), 4);
  EXPECT_STREQ(dest, "abcd");
}

TEST(BoundedText, AppendTextNeverGrowsBeyondTheLimit) {
  struct Case {
    const char* start;
    const char* added;
    std::size_t maxChars;
    const char* result;
  };
  const Case cases[] = {
      {"ab", "cd", 10, "abcd"}, {"ab", "cdef", 4, "abcd"}, {"abcd", "x", 4, "abcd"},
      {"ab", nullptr, 4, "ab"}, {"", "xyz", 2, "xy"},      {"abcdef", "x", 4, "abcd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + "+" + (c.added ? c.added : "(null)"));
    char dest[16];
    std::memset(dest, '#', sizeof dest);
    std::strcpy(dest, c.start);
    EXPECT_EQ(AppendText(dest, c.added, c.maxChars), dest);
    EXPECT_STREQ(dest, c.result);
  }
}

TEST(BoundedText, CaseInsensitiveComparisons) {
  struct Case {
    const char* a;
    const char* b;
    bool ignoringCase;
    bool sameFirstChar;
  };
  const Case cases[] = {
      {"CARS", "Cars", true, true},   {"cars", "Cars", true, false}, {"Cars", "CARS", true, true},
      {"cars", "cart", false, false}, {"car", "cars", false, false}, {"", "", true, true},
      {"No", "nO", true, false},      {nullptr, "a", false, false},  {nullptr, nullptr, false, false},
      {"\xC4", "\xE4", false, false},  // letters outside ASCII keep their case
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a ? c.a : "(null)") + " / " + (c.b ? c.b : "(null)"));
    EXPECT_EQ(TextEqualsIgnoreCase(c.a, c.b), c.ignoringCase);
    EXPECT_EQ(TextEqualsIgnoreCase(c.b, c.a), c.ignoringCase);
    EXPECT_EQ(TextEqualsSameFirstChar(c.a, c.b), c.sameFirstChar);
  }
}

}  // namespace
