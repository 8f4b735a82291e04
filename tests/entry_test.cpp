// From a "[FILE]" line to the path that is deleted, and what is spared.
#include <gtest/gtest.h>

#include "engine/uninstall.h"

namespace {

TEST(EntryPath, NormalisesTheLine) {
  struct Case {
    const char* label;
    const char* line;
    const char* expected;
  } cases[] = {
      {"relative with backslash", "[FILE] \\data\\a.txt", "data\\a.txt"},
      {"absolute keeps inner spaces", "[FILE] C:\\Program Files\\Editor\\My Notes.txt",
       "c:\\program files\\editor\\my notes.txt"},
      {"trailing tab and spaces", "[FILE] \\help\\x.chm\t  ", "help\\x.chm"},
      {"second backslash: drive root", "[FILE] \\\\root.txt", "\\root.txt"},
      {"spaces then backslash: drive root", "[FILE]   \\x.txt", "\\x.txt"},
      {"relative without backslash", "[FILE] sub\\B.TXT", "sub\\b.txt"},
      {"no space keeps the whole line", "[FILE]\\a.txt", "[file]\\a.txt"},
      {"nothing behind the space", "[FILE] ", ""},
      {"only a backslash", "[FILE] \\", ""},
      {"GBK name, 0x5C second byte", "[FILE] \\\x81\\\\A.TXT", "\x81\\\\a.txt"},
      {"GBK 0x20 second byte is no separator", "[FILE]\x81 x y", "y"},
      {"lone lead byte at the end", "[FILE] \\a\x81", "a\x81"},
      {"lone lead byte behind space", "[FILE] \\a \x81", "a \x81"},
      {"full-width capitals lower-cased", "[FILE] \\\xA3\xC1.TXT", "\xA3\xE1.txt"},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.expected, EntryPath(c.line)) << c.label;
}

TEST(EntryPath, SparesTheUninstallerInAnyCase) {
  struct Case {
    const char* label;
    const char* line;
    bool spared;
  } cases[] = {
      {"mixed case", "[FILE] \\Uninstall.EXE", true},
      {"inside a longer name", "[FILE] \\old\\myuninstall.exe.bak", true},
      {"absolute", "[FILE] C:\\Editor\\UNINSTALL.exe", true},
      // Lower-casing stops at 0x81 0x20, so the name stays upper case.
      {"behind a non-character", "[FILE] \\\x81 UNINSTALL.EXE", true},
      {"behind a lead byte", "[FILE] \\\x81uninstall.exe", true},
      {"other file", "[FILE] \\uninstall.ex", false},
      {"log", "[FILE] \\install.log", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.spared, IsSparedEntry(EntryPath(c.line))) << c.label;
}

}  // namespace
