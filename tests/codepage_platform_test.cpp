// The program's code page 936 rules against Windows' own conversion, for
// every double-byte pair.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/cstring.h"
#include "framework/mbcs.h"

namespace {

TEST(CodePage936, TheAnsiCodePageIs936) { ASSERT_EQ(936u, GetACP()) << "run under a zh_CN locale"; }

// Lead bytes as Windows sees them.
TEST(CodePage936, LeadBytesMatchWindows) {
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(IsDBCSLeadByteEx(936, static_cast<BYTE>(b)) != FALSE, mbcs::IsLeadByte(static_cast<unsigned char>(b)))
        << "byte " << b;
  }
}

// A pair is a character exactly when Windows converts it to one; its
// lower-case form is Windows' lower case of that character, converted back,
// when the code page can write it.
TEST(CodePage936, EveryPairLowerCasesAsWindowsDoes) {
  int pairs = 0, lowered = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x01; trail <= 0xFF; ++trail) {
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      WCHAR wide[4];
      int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, in, 2, wide, 4);
      unsigned char l = static_cast<unsigned char>(lead), t = static_cast<unsigned char>(trail);
      bool isChar = mbcs::LowerPair(&l, &t);
      ASSERT_EQ(n == 1, isChar) << std::hex << "pair " << lead << " " << trail;
      if (!isChar) continue;
      ++pairs;
      WCHAR lower = wide[0];
      CharLowerBuffW(&lower, 1);
      char back[4] = {};
      BOOL defaulted = FALSE;
      int m = WideCharToMultiByte(936, 0, &lower, 1, back, sizeof back, nullptr, &defaulted);
      unsigned char expectLead = static_cast<unsigned char>(lead), expectTrail = static_cast<unsigned char>(trail);
      if (lower != wide[0] && m == 2 && !defaulted) {
        expectLead = static_cast<unsigned char>(back[0]);
        expectTrail = static_cast<unsigned char>(back[1]);
        ++lowered;
      }
      EXPECT_EQ(expectLead, l) << std::hex << "pair " << lead << " " << trail;
      EXPECT_EQ(expectTrail, t) << std::hex << "pair " << lead << " " << trail;
    }
  }
  std::printf("pairs %d, with a lower-case form %d\n", pairs, lowered);
  EXPECT_EQ(93, lowered);
}

// CString::MakeLower over text with every capital, against Windows' own
// lower-casing of the same text.
TEST(CodePage936, MakeLowerMatchesWindowsOnMixedText) {
  const char* samples[] = {
      "C:\\PROGRAM FILES\\NOLVEX\xCE\xC4\xB1\xBE\\\xA3\xC1\xA3\xC2.TXT",
      "\xA6\xA1\xA6\xA2\xA7\xA1\xA7\xC1\\ABC\x81\x5C" "DEF",
      "\xA2\xF1\xA2\xFA MIXED Case",
  };
  for (const char* s : samples) {
    WCHAR wide[256];
    int n = MultiByteToWideChar(936, 0, s, -1, wide, 256);
    CharLowerBuffW(wide, n - 1);
    char expected[512];
    WideCharToMultiByte(936, 0, wide, -1, expected, sizeof expected, nullptr, nullptr);
    CString c(s);
    c.MakeLower();
    EXPECT_STREQ(expected, c) << s;
  }
}

}  // namespace
