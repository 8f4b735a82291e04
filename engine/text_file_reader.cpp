// CTextFileReader.
#include "engine/text_file_reader.h"

#include <cstring>

#include "os/os.h"

CTextFileReader::CTextFileReader() : cursor_(nullptr) {}

CTextFileReader::~CTextFileReader() { Close(); }

void CTextFileReader::Close() {
  text_.Free();
  cursor_ = nullptr;
}

int CTextFileReader::Open(const char* path) {
  Close();
  os::CHandle file(os::Current().CreateFileA(path));
  if (!file.IsOpen()) return kCannotOpen;
  uint32_t size = os::Current().GetFileSize(file.Get());
  if (size == os::kInvalidFileSize) return kCannotSize;

  // One byte more than the file, all zero: the text always ends in a NUL,
  // and a short read leaves zeros that end it early.
  char* text = text_.Allocate(static_cast<size_t>(size) + 1);
  std::memset(text, 0, static_cast<size_t>(size) + 1);
  uint32_t read = 0;
  if (!os::Current().ReadFile(file.Get(), text, size, &read)) {
    text_.Free();
    return kCannotRead;
  }
  cursor_ = text;
  return kOk;
}

int CTextFileReader::ReadLine(char* line, size_t size) {
  if (cursor_ == nullptr || *cursor_ == '\0') return kEnd;
  // The line ends at the first CR, LF or NUL: strcspn finds it a block of
  // bytes at a time (CR and LF never occur inside a double-byte character).
  size_t length = std::strcspn(cursor_, "\r\n");
  const char* end = cursor_ + length;
  int result = kLine;
  if (size == 0 || length >= size) {
    if (size > 0) line[0] = '\0';
    result = kTooLong;
  } else {
    std::memcpy(line, cursor_, length);
    line[length] = '\0';
  }
  while (*end == '\r' || *end == '\n') ++end;
  cursor_ = end;
  return result;
}

int CTextFileReader::FindLine(const char* prefix, char* line, size_t size) {
  size_t n = std::strlen(prefix);
  for (;;) {
    int result = ReadLine(line, size);
    if (result == kEnd) return 1;
    if (result == kLine && std::strncmp(line, prefix, n) == 0) return 0;
  }
}
