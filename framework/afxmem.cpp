// The framework's heap.
#include "framework/afxmem.h"

#include "os/os.h"

void AfxThrowMemoryException() { throw CMemoryException(); }

void* AfxAlloc(size_t size) {
  void* block = os::Current().Alloc(size == 0 ? 1 : size);
  if (block == nullptr) AfxThrowMemoryException();
  return block;
}

void AfxFree(void* block) {
  if (block != nullptr) os::Current().Free(block);
}
