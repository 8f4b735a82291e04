// POSIX backend of the operating-system table, for the native tests of the
// byte logic under the sanitizers. Paths keep Windows' backslashes in the
// program; they become slashes at this boundary. There is no shell, COM or
// special folder here: those calls report failure, and tests that need them
// put their own entries into the table.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/mbcs.h"
#include "os/os.h"

namespace os {
namespace {

// Backslashes become slashes; the second byte of a double-byte character
// is never one, even when it is 0x5C.
std::string ToPosix(const char* path) {
  std::string p(path);
  for (size_t i = 0; i < p.size(); i += static_cast<size_t>(mbcs::CharLength(&p[i]))) {
    if (p[i] == '\\') p[i] = '/';
  }
  return p;
}

Handle FromFd(int fd) { return reinterpret_cast<Handle>(static_cast<intptr_t>(fd) + 1); }
int ToFd(Handle h) { return static_cast<int>(reinterpret_cast<intptr_t>(h) - 1); }

Handle OpenForRead(const char* path) {
  if (path[0] == '\0') return nullptr;
  int fd = ::open(ToPosix(path).c_str(), O_RDONLY);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return FromFd(fd);
}

uint32_t FileSize(Handle file) {
  struct stat st;
  if (::fstat(ToFd(file), &st) != 0 || st.st_size >= 0xFFFFFFFF) return kInvalidFileSize;
  return static_cast<uint32_t>(st.st_size);
}

bool Read(Handle file, void* buffer, uint32_t size, uint32_t* read) {
  ssize_t got = ::read(ToFd(file), buffer, size);
  if (read != nullptr) *read = got > 0 ? static_cast<uint32_t>(got) : 0;
  return got >= 0;
}

void Close(Handle handle) { ::close(ToFd(handle)); }

// The running program's path, written the Windows way.
uint32_t ModuleFileName(char* buffer, uint32_t size) {
  char path[4096];
  ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0 || size == 0) return 0;
  uint32_t len = static_cast<uint32_t>(n) < size ? static_cast<uint32_t>(n) : size - 1;
  for (uint32_t i = 0; i < len; ++i) buffer[i] = path[i] == '/' ? '\\' : path[i];
  buffer[len] = '\0';
  return static_cast<uint32_t>(n) < size ? len : size;
}

bool SetCurrentDir(const char* path) { return path[0] != '\0' && ::chdir(ToPosix(path).c_str()) == 0; }

Handle Launch(const char*, const char*) { return nullptr; }

bool WaitProcess(Handle, uint32_t) { return true; }

bool DeleteOne(const char* path) {
  struct stat st;
  std::string p = ToPosix(path);
  // DeleteFileA refuses folders; unlink would refuse them too, but say so plainly.
  if (path[0] == '\0' || ::lstat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(p.c_str()) == 0;
}

bool RemoveDir(const char* path) { return path[0] != '\0' && ::rmdir(ToPosix(path).c_str()) == 0; }

bool Exists(const char* path) {
  struct stat st;
  return path[0] != '\0' && ::stat(ToPosix(path).c_str(), &st) == 0;
}

bool ComInit() { return false; }

void ComUninit() {}

bool SpecialFolder(int, char*) { return false; }

void* Allocate(size_t size) { return std::malloc(size); }

void Release(void* block) { std::free(block); }

}  // namespace

const Calls& Backend() {
  static const Calls calls = {
      OpenForRead, FileSize,    Read,   Close,  ModuleFileName, SetCurrentDir,
      Launch,      WaitProcess, DeleteOne, RemoveDir, Exists,  ComInit,
      ComUninit,   SpecialFolder, Allocate, Release,
  };
  return calls;
}

}  // namespace os
