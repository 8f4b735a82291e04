// CTextFileReader: loads a whole text file in one read and hands it out line
// by line. Bytes only: a line ends at CR or LF (which never occur inside a
// code page 936 character); a NUL byte ends the text.
#pragma once

#include <cstddef>

#include "framework/afxmem.h"

class CTextFileReader {
 public:
  enum ResultCode { kOk = 0, kCannotOpen = 1, kCannotSize = 2, kCannotRead = 3 };
  enum LineResult { kLine = 0, kEnd = 1, kTooLong = 2 };

  CTextFileReader();
  virtual ~CTextFileReader();
  CTextFileReader(const CTextFileReader&) = delete;
  CTextFileReader& operator=(const CTextFileReader&) = delete;

  // Loads the file; a ResultCode. Whatever was loaded before is dropped
  // first. Running out of memory for the text throws CMemoryException. The
  // file is open only while Open runs.
  int Open(const char* path);

  // Stores the next line, NUL-terminated and without its line break, in
  // line (size bytes): kLine. kEnd when nothing is left (line untouched).
  // A line that does not fit in size - 1 bytes is passed over whole and
  // kTooLong returned, with line set empty: no part of it is ever handed
  // out as a line. The line breaks that follow a line are all passed over,
  // so empty lines are never returned, except one at the very start.
  int ReadLine(char* line, size_t size);

  // Reads lines until one begins with prefix (byte for byte, case-sensitive):
  // 0, the line in line. 1 when the text ends first. Lines passed over are
  // consumed; too-long lines never match.
  int FindLine(const char* prefix, char* line, size_t size);

  // Drops the text. Safe to call at any time.
  void Close();

 private:
  CAfxBuffer text_;
  const char* cursor_;  // null exactly when no text is loaded
  const char* end_;     // the text's first NUL; null with cursor_
};
