// The framework's heap and its one exception: out of memory.
//
// Every allocation the program makes goes through AfxAlloc, which takes its
// memory from the operating-system table and throws CMemoryException when
// there is none. The exception travels out to the window procedure that
// catches it and reports it (see the dialog layer); nothing below catches it.
#pragma once

#include <cstddef>

class CMemoryException {};

[[noreturn]] void AfxThrowMemoryException();

// Never returns null: throws CMemoryException instead.
void* AfxAlloc(size_t size);
// Null is allowed.
void AfxFree(void* block);

// Owns one AfxAlloc block.
class CAfxBuffer {
 public:
  CAfxBuffer() : block_(nullptr) {}
  ~CAfxBuffer() { Free(); }
  CAfxBuffer(const CAfxBuffer&) = delete;
  CAfxBuffer& operator=(const CAfxBuffer&) = delete;

  char* Allocate(size_t size) {
    Free();
    block_ = static_cast<char*>(AfxAlloc(size));
    return block_;
  }
  void Free() {
    AfxFree(block_);
    block_ = nullptr;
  }

 private:
  char* block_;
};
