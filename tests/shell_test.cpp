// The completion message the confirmation dialog shows after a run.
#include <gtest/gtest.h>

#include <string>

#include "shell/uninstall_dlg.h"

namespace {

TEST(CompletionMessage, SaysWhatWasLeftBehind) {
  const std::string head =
      "\xD0\xB6\xD4\xD8\xCD\xEA\xB3\xC9\xA3\xAC\xB5\xAB\xD2\xD4\xCF\xC2\xCF\xEE\xC4\xBF\xCE\xB4\xC4\xDC"
      "\xC9\xBE\xB3\xFD\xA3\xAC\xC7\xEB\xCA\xD6\xB6\xAF\xC9\xBE\xB3\xFD\xA3\xBA";
  auto items = [](int n) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += "\r\nC:\\p\\" + std::to_string(i);
    return s;
  };
  struct Case {
    const char* label;
    int count;
    std::string expected;
  } cases[] = {
      {"nothing left", 0, "\xD0\xB6\xD4\xD8\xB3\xC9\xB9\xA6."},
      {"one item", 1, head + items(1)},
      {"ten items", 10, head + items(10)},
      {"eleven items: ten and an ellipsis", 11, head + items(10) + "\r\n\xA1\xAD\xA1\xAD"},
  };
  for (const Case& c : cases) {
    CStringArray left;
    for (int i = 1; i <= c.count; ++i) left.Add(("C:\\p\\" + std::to_string(i)).c_str());
    EXPECT_EQ(c.expected, std::string(CompletionMessage(left))) << c.label;
  }
}

}  // namespace
