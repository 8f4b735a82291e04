// CString: a growable byte string in the ANSI code page, and CStringArray.
//
// Just the operations the program uses. Searches step through the text
// character by character (framework/mbcs.h), so the second byte of a
// double-byte character is never found as a character of its own. Memory
// comes from AfxAlloc: running out throws CMemoryException and leaves the
// string as it was.
#pragma once

#include "framework/afxmem.h"

class CString {
 public:
  CString();
  CString(const char* text);  // NOLINT: implicit, as the framework's is
  CString(const char* text, int length);
  CString(const CString& other);
  ~CString();
  CString& operator=(const CString& other);
  CString& operator=(const char* text);

  int GetLength() const { return length_; }
  bool IsEmpty() const { return length_ == 0; }
  operator const char*() const { return data_; }  // NOLINT: as the framework's
  const char* GetString() const { return data_; }
  char GetAt(int index) const { return data_[index]; }
  void SetAt(int index, char ch) { data_[index] = ch; }

  // Position of the first ch / the first occurrence of sub, -1 when none.
  int Find(char ch) const;
  int Find(const char* sub) const;
  // Position of the last ch, -1 when none.
  int ReverseFind(char ch) const;

  CString Left(int count) const;
  CString Right(int count) const;

  void MakeLower();
  // Remove white space (space, tab, LF, VT, FF, CR) from the start / end.
  void TrimLeft();
  void TrimRight();

  // Replaces the text. Understands %s, %d and %%.
  void Format(const char* format, ...);

  void Swap(CString& other);

  CString& operator+=(const char* text);
  friend CString operator+(const CString& a, const char* b);

 private:
  void Assign(const char* text, int length);

  char* data_;  // never null: points at an empty text while nothing is held
  int length_;
};

class CStringArray {
 public:
  CStringArray() : items_(nullptr), size_(0), capacity_(0) {}
  ~CStringArray();
  CStringArray(const CStringArray&) = delete;
  CStringArray& operator=(const CStringArray&) = delete;

  int GetSize() const { return size_; }
  const CString& GetAt(int index) const { return items_[index]; }
  const CString& operator[](int index) const { return items_[index]; }
  void Add(const char* text);
  void RemoveAll();

 private:
  CString* items_;
  int size_;
  int capacity_;
};
