// CString and code page 936 byte logic: searches, lower-casing, trimming.
#include <gtest/gtest.h>

#include <string>

#include "framework/cstring.h"
#include "framework/mbcs.h"

namespace {

// Hex dump for failure messages: the bytes are the point.
std::string Hex(const char* s) {
  std::string out;
  char b[4];
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    std::snprintf(b, sizeof b, "%02X ", *p);
    out += b;
  }
  return out;
}

TEST(CString, SearchesStepOverSecondBytes) {
  struct Case {
    const char* label;
    const char* text;
    char ch;
    int find, reverse;
  } cases[] = {
      {"plain", "a\\b\\c", '\\', 1, 3},
      {"none", "abc", '\\', -1, -1},
      {"empty", "", '\\', -1, -1},
      // 0x81 0x5C is one character whose second byte is a backslash.
      {"0x5C second byte", "C:\\\x81\\x\\\x81\\", '\\', 2, 6},
      {"only second bytes", "\x81\\\x82\\", '\\', -1, -1},
      // 0x81 0x20: the second byte is a space.
      {"0x20 second byte", "\x81 a b", ' ', 3, 3},
      {"lone lead byte at end", "a\\\x81", '\\', 1, 1},
  };
  for (const Case& c : cases) {
    CString s(c.text);
    EXPECT_EQ(c.find, s.Find(c.ch)) << c.label << ": " << Hex(c.text);
    EXPECT_EQ(c.reverse, s.ReverseFind(c.ch)) << c.label << ": " << Hex(c.text);
  }
}

TEST(CString, SubstringFindMatchesOnlyWhereACharacterStarts) {
  struct Case {
    const char* label;
    const char* text;
    const char* sub;
    int expected;
  } cases[] = {
      {"start", "uninstall.exe", "uninstall.exe", 0},
      {"inside", "old\\myuninstall.exe.bak", "uninstall.exe", 6},
      {"absent", "install.log", "uninstall.exe", -1},
      {"behind a lead byte", "\x81uninstall.exe", "uninstall.exe", -1},
      {"behind a character", "\x81\x40uninstall.exe", "uninstall.exe", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, CString(c.text).Find(c.sub)) << c.label;
}

TEST(CString, LowerCasesByCodePage936) {
  struct Case {
    const char* label;
    const char* text;
    const char* expected;
  } cases[] = {
      {"ascii", "C:\\Program Files\\A.TXT", "c:\\program files\\a.txt"},
      {"full-width Latin", "\xA3\xC1\xA3\xDA", "\xA3\xE1\xA3\xFA"},
      {"Greek", "\xA6\xA1\xA6\xB8", "\xA6\xC1\xA6\xD8"},
      {"Cyrillic", "\xA7\xA1\xA7\xC1", "\xA7\xD1\xA7\xF1"},
      {"Roman numeral I", "\xA2\xF1", "\xA2\xA1"},
      // Eleven and twelve have no lower-case form in the code page: kept.
      {"Roman numeral XI", "\xA2\xFB\xA2\xFC", "\xA2\xFB\xA2\xFC"},
      // The second byte 0x41 'A' belongs to the character and stays.
      {"second byte A", "\x81\x41" "B", "\x81\x41" "b"},
      {"Chinese unchanged", "\xCE\xC4\xB1\xBE.TXT", "\xCE\xC4\xB1\xBE.txt"},
      // 0x81 0x20 is no character: lower-casing stops there.
      {"stops at a non-character", "AB\x81 CD", "ab\x81 CD"},
      {"stops at lead 0x7F", "A\x81\x7F" "B", "a\x81\x7F" "B"},
      {"lone lead byte at end", "AB\x81", "ab\x81"},
  };
  for (const Case& c : cases) {
    CString s(c.text);
    s.MakeLower();
    EXPECT_STREQ(c.expected, s) << c.label << ": got " << Hex(s);
  }
}

TEST(CString, TrimsAsciiWhiteSpaceOnly) {
  struct Case {
    const char* label;
    const char* text;
    const char* expected;
  } cases[] = {
      {"both ends", " \t\r\n\v\fa b\t \r", "a b"},
      {"all space", " \t ", ""},
      {"empty", "", ""},
      {"none", "abc", "abc"},
      // 0x81 0x20: the space is a second byte and must stay.
      {"second byte space", "a\x81 ", "a\x81 "},
      {"second byte tab", " \x81\x09", "\x81\x09"},
      {"lone lead byte at end", " a\x81", "a\x81"},
      {"space before lone lead byte", "a \x81", "a \x81"},
      {"lone lead byte then space", "a\x81 ", "a\x81 "},
  };
  for (const Case& c : cases) {
    CString s(c.text);
    s.TrimLeft();
    s.TrimRight();
    EXPECT_STREQ(c.expected, s) << c.label << ": got " << Hex(s);
    EXPECT_EQ(static_cast<int>(std::string(c.expected).size()), s.GetLength()) << c.label;
  }
}

TEST(CString, LeftRightFormatConcatenate) {
  CString s("C:\\dir\\prog.exe");
  EXPECT_STREQ("C:\\dir\\", s.Left(s.ReverseFind('\\') + 1));
  EXPECT_STREQ("prog.exe", s.Right(8));
  EXPECT_STREQ(s, s.Right(100));
  EXPECT_STREQ("", s.Left(-1));
  EXPECT_STREQ("", s.Right(0));

  CString f;
  f.Format("%s\\x\\%s.lnk %d%% %d", "C:\\Menu", "\xD0\xB6\xD4\xD8", 42, -7);
  EXPECT_STREQ("C:\\Menu\\x\\\xD0\xB6\xD4\xD8.lnk 42% -7", f);

  CString a("ab");
  a += "cd";
  EXPECT_STREQ("abcdef", a + "ef");
  a = a;
  EXPECT_STREQ("abcd", a);
}

TEST(CStringArray, GrowsAndKeepsOrder) {
  CStringArray items;
  for (int i = 0; i < 100; ++i) items.Add(std::to_string(i).c_str());
  ASSERT_EQ(100, items.GetSize());
  for (int i = 0; i < 100; ++i) EXPECT_STREQ(std::to_string(i).c_str(), items[i]) << i;
  items.RemoveAll();
  EXPECT_EQ(0, items.GetSize());
}

}  // namespace
