// CTextFileReader on real files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/text_file_reader.h"
#include "tests/support/testfs.h"

namespace {

// Every line the reader hands out until the end, too-long lines as "<long>".
std::vector<std::string> AllLines(CTextFileReader& reader, size_t size = 1024) {
  std::vector<std::string> lines;
  std::vector<char> line(size + 1, '#');
  for (int guard = 0; guard < 100000; ++guard) {
    int r = reader.ReadLine(line.data(), size);
    if (r == CTextFileReader::kEnd) break;
    lines.push_back(r == CTextFileReader::kTooLong ? "<long>" : std::string(line.data()));
  }
  return lines;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += "[" + l + "]";
  return out;
}

class ReaderTest : public ::testing::Test {
 protected:
  ReaderTest() : folder_("reader") {}
  std::string Write(const std::string& bytes, const std::string& name = "install.log") {
    folder_.Add(name, bytes);
    return folder_ / name;
  }
  testfs::ProductFolder folder_;
};

TEST_F(ReaderTest, SplitsLinesAtEveryKindOfBreak) {
  struct Case {
    const char* label;
    std::string text;
    const char* expected;
  } cases[] = {
      {"empty file", "", ""},
      {"CR LF pairs swallowed", "a\r\n\r\n\r\nb", "[a][b]"},
      {"leading break gives one empty line", "\r\nx", "[][x]"},
      {"no final break", "x", "[x]"},
      {"CR, LF and CR LF", "x\ry\nz\r\n", "[x][y][z]"},
      {"LF CR mix", "a\n\r\n\rb\n", "[a][b]"},
      {"NUL ends the text", std::string("a\nb\0c\nd", 7), "[a][b]"},
      {"GBK text kept as bytes", "\xCE\xC4\xB1\xBE\\\x81\\\r\n", "[\xCE\xC4\xB1\xBE\\\x81\\]"},
      {"bytes next to CR and LF in value are no breaks", "a\r\x0C\x0B\n\x0B\x0E\x8D\r\x0C\x8A\x09" "b",
       "[a][\x0C\x0B][\x0B\x0E\x8D][\x0C\x8A\x09" "b]"},
  };
  for (const Case& c : cases) {
    CTextFileReader reader;
    ASSERT_EQ(0, reader.Open(Write(c.text).c_str())) << c.label;
    EXPECT_EQ(c.expected, Join(AllLines(reader))) << c.label;
  }
}

TEST_F(ReaderTest, EndLeavesTheBufferAlone) {
  CTextFileReader reader;
  ASSERT_EQ(0, reader.Open(Write("only").c_str()));
  char line[16];
  ASSERT_EQ(0, reader.ReadLine(line, sizeof line));
  std::strcpy(line, "untouched");
  EXPECT_EQ(1, reader.ReadLine(line, sizeof line));
  EXPECT_STREQ("untouched", line);
}

TEST_F(ReaderTest, MissingFileAndNothingLoaded) {
  CTextFileReader reader;
  char line[16] = "keep";
  EXPECT_EQ(1, reader.ReadLine(line, sizeof line)) << "nothing loaded yet";
  EXPECT_EQ(1, reader.FindLine("[FILE]", line, sizeof line));
  EXPECT_EQ(1, reader.Open((folder_ / "absent.log").c_str()));
  EXPECT_EQ(1, reader.FindLine("[FILE]", line, sizeof line));
  EXPECT_EQ(1, reader.Open(folder_.Path().c_str())) << "a folder is no file";
  EXPECT_STREQ("keep", line);
}

TEST_F(ReaderTest, FindLineMatchesThePrefixByteForByte) {
  CTextFileReader reader;
  ASSERT_EQ(0, reader.Open(Write("[FILE] a\r\n[FILES] b\r\n[file] c\r\n [FILE] d\r\n[FIL\r\n[FILE]\r\n").c_str()));
  std::vector<std::string> found;
  char line[1024];
  while (reader.FindLine("[FILE]", line, sizeof line) == 0) found.push_back(line);
  EXPECT_EQ("[[FILE] a][[FILE]]", Join(found)) << "[FILES] differs in its sixth byte";
}

TEST_F(ReaderTest, SecondOpenDropsTheFirstText) {
  CTextFileReader reader;
  ASSERT_EQ(0, reader.Open(Write("one\ntwo\n", "a.log").c_str()));
  char line[16];
  ASSERT_EQ(0, reader.ReadLine(line, sizeof line));
  ASSERT_EQ(0, reader.Open(Write("three\n", "b.log").c_str()));
  EXPECT_EQ("[three]", Join(AllLines(reader)));
  reader.Close();
  reader.Close();
  EXPECT_EQ(1, reader.ReadLine(line, sizeof line));
}

TEST_F(ReaderTest, TextStaysWhenTheFileGoes) {
  std::string path = Write("[FILE] a\n[FILE] b\n");
  CTextFileReader reader;
  ASSERT_EQ(0, reader.Open(path.c_str()));
  testfs::RemoveTree(path);
  ASSERT_FALSE(testfs::Exists(path)) << "the reader must not keep the file open";
  EXPECT_EQ("[[FILE] a][[FILE] b]", Join(AllLines(reader)));
}

// A line longer than the buffer is passed over whole: no part of it is
// handed out, neither cut short nor as lines of its own.
TEST_F(ReaderTest, OverlongLinesAreNeverCutUp) {
  struct Case {
    const char* label;
    size_t size;
    std::string text;
    const char* expected;
  } cases[] = {
      {"fits exactly", 4, "abc\nd", "[abc][d]"},
      {"one byte too long", 4, "abcd\nxy", "[<long>][xy]"},
      {"long last line", 4, "ab\nabcdefgh", "[ab][<long>]"},
      {"1023 fits in 1024", 1024, std::string(1023, 'a') + "\nz", nullptr},
      {"1024 does not", 1024, "[FILE] " + std::string(1017, 'b') + "\r\n[FILE] \\ok", "[<long>][[FILE] \\ok]"},
  };
  for (const Case& c : cases) {
    CTextFileReader reader;
    ASSERT_EQ(0, reader.Open(Write(c.text).c_str())) << c.label;
    std::string expected = c.expected != nullptr ? c.expected : "[" + std::string(1023, 'a') + "][z]";
    EXPECT_EQ(expected, Join(AllLines(reader, c.size))) << c.label;
  }
  CTextFileReader reader;
  ASSERT_EQ(0, reader.Open(Write("[FILE] " + std::string(2000, 'x') + "\n[FILE] y").c_str()));
  char line[1024];
  ASSERT_EQ(0, reader.FindLine("[FILE]", line, sizeof line));
  EXPECT_STREQ("[FILE] y", line) << "FindLine passes over the long entry";
}

// Lines are scanned a word of eight bytes at a time, finished byte by byte
// near the end of the text, and copied in blocks of 16, 8 and 4 bytes. A
// line of every length up to past two blocks, ended by each kind of break,
// by a NUL or by the end of the text, read with a buffer that just fits it
// and with one byte less. The line's bytes are those a word-wide search
// most easily mistakes for CR or LF.
TEST_F(ReaderTest, EveryLineLengthAndEnding) {
  const char kFill[] = "\x8D\x8A\x0C\x0B\x0E\x09\xFFz";
  struct Ending {
    const char* label;
    std::string bytes;  // behind the line
    bool tail;          // whether the line "tail" is read after it
  } endings[] = {
      {"CR", "\rtail", true},
      {"LF", "\ntail", true},
      {"CR LF", "\r\ntail\r\n", true},
      {"run of breaks", "\n\r\r\n\ntail", true},
      {"NUL", std::string("\0tail\n", 6), false},
      {"end of text", "", false},
  };
  for (size_t length = 0; length <= 35; ++length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) text += kFill[i % 8];
    for (const Ending& e : endings) {
      std::string path = Write(text + e.bytes);
      for (size_t size : {length + 1, length}) {
        std::string label = std::string(e.label) + ", line of " + std::to_string(length) + ", buffer " +
                            std::to_string(size);
        auto read = [size](const std::string& line) { return size > line.size() ? "[" + line + "]" : "[<long>]"; };
        // Only a text that begins with a break gives an empty line.
        std::string expected;
        if (length > 0 || e.tail) expected = read(text);
        if (e.tail) expected += read("tail");
        CTextFileReader reader;
        ASSERT_EQ(0, reader.Open(path.c_str())) << label;
        EXPECT_EQ(expected, Join(AllLines(reader, size))) << label;
      }
    }
  }
}

TEST_F(ReaderTest, FindLineWithAnEmptyOrLongerPrefix) {
  CTextFileReader reader;
  char line[16];
  ASSERT_EQ(0, reader.Open(Write("\nab\nabc\n").c_str()));
  EXPECT_EQ(1, reader.FindLine("abcd", line, sizeof line)) << "no line is as long as the prefix";
  ASSERT_EQ(0, reader.Open(Write("\nab\nabc\n").c_str()));
  std::vector<std::string> found;
  while (reader.FindLine("", line, sizeof line) == 0) found.push_back(line);
  EXPECT_EQ("[][ab][abc]", Join(found)) << "an empty prefix matches every line";
}

}  // namespace
