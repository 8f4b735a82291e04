// CString and CStringArray.
#include "framework/cstring.h"

#include <cstdarg>
#include <cstring>
#include <new>

#include "framework/mbcs.h"

namespace {
char g_empty[1] = {'\0'};

char* NewText(int length) { return static_cast<char*>(AfxAlloc(static_cast<size_t>(length) + 1)); }
}  // namespace

CString::CString() : data_(g_empty), length_(0) {}

CString::CString(const char* text) : data_(g_empty), length_(0) {
  Assign(text, text == nullptr ? 0 : static_cast<int>(std::strlen(text)));
}

CString::CString(const char* text, int length) : data_(g_empty), length_(0) { Assign(text, length); }

CString::CString(const CString& other) : data_(g_empty), length_(0) { Assign(other.data_, other.length_); }

CString::~CString() {
  if (data_ != g_empty) AfxFree(data_);
}

CString& CString::operator=(const CString& other) {
  if (this != &other) Assign(other.data_, other.length_);
  return *this;
}

CString& CString::operator=(const char* text) {
  Assign(text, text == nullptr ? 0 : static_cast<int>(std::strlen(text)));
  return *this;
}

// The new text is allocated before the old one is released, so a failure
// leaves the string unchanged. text may point into this string.
void CString::Assign(const char* text, int length) {
  char* fresh = g_empty;
  if (length > 0) {
    fresh = NewText(length);
    std::memcpy(fresh, text, static_cast<size_t>(length));
    fresh[length] = '\0';
  }
  if (data_ != g_empty) AfxFree(data_);
  data_ = fresh;
  length_ = length;
}

int CString::Find(char ch) const {
  for (const char* p = data_; *p != '\0'; p += mbcs::CharLength(p)) {
    if (*p == ch) return static_cast<int>(p - data_);
  }
  return -1;
}

int CString::Find(const char* sub) const {
  size_t n = std::strlen(sub);
  for (const char* p = data_; *p != '\0'; p += mbcs::CharLength(p)) {
    if (std::strncmp(p, sub, n) == 0) return static_cast<int>(p - data_);
  }
  return n == 0 ? 0 : -1;
}

int CString::ReverseFind(char ch) const {
  int found = -1;
  for (const char* p = data_; *p != '\0'; p += mbcs::CharLength(p)) {
    if (*p == ch) found = static_cast<int>(p - data_);
  }
  return found;
}

CString CString::Left(int count) const {
  if (count < 0) count = 0;
  if (count > length_) count = length_;
  return CString(data_, count);
}

CString CString::Right(int count) const {
  if (count < 0) count = 0;
  if (count > length_) count = length_;
  return CString(data_ + (length_ - count), count);
}

void CString::MakeLower() {
  if (length_ > 0) mbcs::LowerInPlace(data_);
}

void CString::TrimLeft() {
  const char* p = data_;
  while (*p != '\0' && mbcs::IsSpace(static_cast<unsigned char>(*p))) ++p;
  if (p != data_) Assign(p, length_ - static_cast<int>(p - data_));
}

// Walks forward character by character and remembers where the last run of
// white space began, so the second byte of a double-byte character is never
// taken for white space; a lone lead byte at the end is one character.
void CString::TrimRight() {
  const char* trailing = nullptr;
  for (const char* p = data_; *p != '\0'; p += mbcs::CharLength(p)) {
    if (mbcs::IsSpace(static_cast<unsigned char>(*p))) {
      if (trailing == nullptr) trailing = p;
    } else {
      trailing = nullptr;
    }
  }
  if (trailing != nullptr) Assign(data_, static_cast<int>(trailing - data_));
}

namespace {

// Writes the formatted text to out (when not null) and returns its length.
int FormatInto(char* out, const char* format, va_list args) {
  int total = 0;
  for (const char* f = format; *f != '\0'; ++f) {
    const char* piece = f;
    int pieceLength = 1;
    char number[24];
    if (f[0] == '%' && f[1] == 's') {
      piece = va_arg(args, const char*);
      if (piece == nullptr) piece = "(null)";
      pieceLength = static_cast<int>(std::strlen(piece));
      ++f;
    } else if (f[0] == '%' && f[1] == 'd') {
      long long v = va_arg(args, int);
      char digits[24];
      int d = 0;
      pieceLength = 0;
      if (v < 0) {
        number[pieceLength++] = '-';
        v = -v;
      }
      do {
        digits[d++] = static_cast<char>('0' + v % 10);
        v /= 10;
      } while (v != 0);
      while (d > 0) number[pieceLength++] = digits[--d];
      piece = number;
      ++f;
    } else if (f[0] == '%' && f[1] == '%') {
      ++f;
    }
    if (out != nullptr) std::memcpy(out + total, piece, static_cast<size_t>(pieceLength));
    total += pieceLength;
  }
  return total;
}

}  // namespace

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int length = FormatInto(nullptr, format, args);
  va_end(args);
  char* text = nullptr;
  try {
    text = NewText(length);
  } catch (...) {
    va_end(again);
    throw;
  }
  FormatInto(text, format, again);
  va_end(again);
  text[length] = '\0';
  if (data_ != g_empty) AfxFree(data_);
  data_ = text;
  length_ = length;
}

void CString::Swap(CString& other) {
  char* d = data_;
  int n = length_;
  data_ = other.data_;
  length_ = other.length_;
  other.data_ = d;
  other.length_ = n;
}

CString& CString::operator+=(const char* text) {
  int extra = static_cast<int>(std::strlen(text));
  char* fresh = NewText(length_ + extra);
  std::memcpy(fresh, data_, static_cast<size_t>(length_));
  std::memcpy(fresh + length_, text, static_cast<size_t>(extra) + 1);
  if (data_ != g_empty) AfxFree(data_);
  data_ = fresh;
  length_ += extra;
  return *this;
}

CString operator+(const CString& a, const char* b) {
  CString result(a);
  result += b;
  return result;
}

CStringArray::~CStringArray() { RemoveAll(); }

void CStringArray::Add(const char* text) {
  CString item(text);  // made first: a failure leaves the array as it was
  if (size_ == capacity_) {
    int capacity = capacity_ == 0 ? 8 : capacity_ * 2;
    CString* grown = static_cast<CString*>(AfxAlloc(sizeof(CString) * static_cast<size_t>(capacity)));
    for (int i = 0; i < capacity; ++i) new (&grown[i]) CString();
    for (int i = 0; i < size_; ++i) {
      grown[i].Swap(items_[i]);
      items_[i].~CString();
    }
    for (int i = size_; i < capacity_; ++i) items_[i].~CString();
    AfxFree(items_);
    items_ = grown;
    capacity_ = capacity;
  }
  items_[size_++].Swap(item);
}

void CStringArray::RemoveAll() {
  for (int i = 0; i < capacity_; ++i) items_[i].~CString();
  AfxFree(items_);
  items_ = nullptr;
  size_ = 0;
  capacity_ = 0;
}
