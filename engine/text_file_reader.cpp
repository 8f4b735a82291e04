// CTextFileReader.
#include "engine/text_file_reader.h"

#include <cstdint>
#include <cstring>

#include "os/os.h"

namespace {

// Line breaks are looked for eight bytes at a time: a word is loaded with
// memcpy (any alignment, no aliasing trouble) and every CR and LF in it is
// flagged at once. On lines of a few dozen bytes this beats both a byte
// loop and a strcspn call; where the break lies in its word is worked out
// with a few plain operations, as each line's end is needed before the
// next line can be looked at.
const uint64_t kOnes = 0x0101010101010101ull;
const uint64_t kHighs = 0x8080808080808080ull;

// The high bit of every zero byte of w. Borrows may also flag a byte above
// a zero byte, never one below: the lowest flag is always a zero byte, also
// of two such masks or-ed together.
inline uint64_t ZeroBytes(uint64_t w) { return (w - kOnes) & ~w & kHighs; }

// Byte order decides which end of a word holds its first byte in memory.
inline bool LittleEndian() {
  const uint16_t one = 1;
  unsigned char first;
  std::memcpy(&first, &one, 1);
  return first == 1;
}

// Little-endian: the index of the lowest flagged byte of m (m != 0). GCC
// and Clang count trailing zeros in an instruction or two; elsewhere it is
// read bit by bit off the lowest flag alone: three independent tests, and
// no 64-bit multiplication on 32-bit targets.
inline size_t LowestFlag(uint64_t m) {
#if defined(__GNUC__)
  return static_cast<size_t>(__builtin_ctzll(m)) >> 3;
#else
  uint64_t low = m & (0 - m);
  return (static_cast<size_t>((low & 0xFFFFFFFF00000000ull) != 0) << 2) |
         (static_cast<size_t>((low & 0xFFFF0000FFFF0000ull) != 0) << 1) |
         static_cast<size_t>((low & 0xFF00FF00FF00FF00ull) != 0);
#endif
}

// The first CR or LF in [p, end), or end. Whole words are read only while
// they lie inside [p, end); the rest goes byte by byte.
inline const char* FindBreak(const char* p, const char* end) {
  while (end - p >= 8) {
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    uint64_t m = ZeroBytes(w ^ (kOnes * '\r')) | ZeroBytes(w ^ (kOnes * '\n'));
    if (m != 0) {
      if (LittleEndian()) return p + LowestFlag(m);
      break;
    }
    p += 8;
  }
  while (p < end && *p != '\r' && *p != '\n') ++p;
  return p;
}

// Copies n bytes. Lines are mostly a few dozen bytes long, where a library
// call costs more than the copy: blocks of 16, 8 or 4 bytes, the last one
// overlapping the one before.
inline void CopyBytes(char* to, const char* from, size_t n) {
  if (n >= 16) {
    for (size_t i = 0; i + 16 < n; i += 16) std::memcpy(to + i, from + i, 16);
    std::memcpy(to + n - 16, from + n - 16, 16);
  } else if (n >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n > 0) {
    to[0] = from[0];
    to[n / 2] = from[n / 2];
    to[n - 1] = from[n - 1];
  }
}

}  // namespace

CTextFileReader::CTextFileReader() : cursor_(nullptr), end_(nullptr) {}

CTextFileReader::~CTextFileReader() { Close(); }

void CTextFileReader::Close() {
  text_.Free();
  cursor_ = nullptr;
  end_ = nullptr;
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
  // The first NUL ends the text; found once here, so that ReadLine can
  // scan whole words up to it instead of testing every byte for NUL.
  cursor_ = text;
  end_ = static_cast<const char*>(std::memchr(text, '\0', static_cast<size_t>(size) + 1));
  return kOk;
}

int CTextFileReader::ReadLine(char* line, size_t size) {
  // Also true when nothing is loaded: both are null then.
  if (cursor_ == end_) return kEnd;
  const char* stop = FindBreak(cursor_, end_);
  size_t length = static_cast<size_t>(stop - cursor_);
  int result = kLine;
  if (length >= size) {
    if (size > 0) line[0] = '\0';
    result = kTooLong;
  } else {
    CopyBytes(line, cursor_, length);
    line[length] = '\0';
  }
  // The NUL at end_ stops this run.
  while (*stop == '\r' || *stop == '\n') ++stop;
  cursor_ = stop;
  return result;
}

int CTextFileReader::FindLine(const char* prefix, char* line, size_t size) {
  for (;;) {
    int result = ReadLine(line, size);
    if (result == kEnd) return 1;
    if (result != kLine) continue;
    // strncmp(line, prefix, strlen(prefix)) == 0 in one pass, without
    // measuring the prefix on every call: a line has no NUL before its end,
    // so a line shorter than the prefix differs at its terminator.
    size_t i = 0;
    while (prefix[i] != '\0' && line[i] == prefix[i]) ++i;
    if (prefix[i] == '\0') return 0;
  }
}
