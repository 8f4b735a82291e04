// The operating-system calls the program makes, gathered in one table.
//
// Members carry the names of the Windows calls behind them (the A variants:
// the program is byte-oriented in the ANSI code page).
//
// Every call goes through os::Current(), a table of plain function pointers.
// The Win32 backend (os_win32.cpp) fills it with the real ANSI Windows calls;
// the POSIX backend (os_posix.cpp) gives the byte logic a small stand-in on
// Linux. A test may replace any entry to make that one call fail, and restore
// the table afterwards (os::ScopedCalls).
#pragma once

#include <cstddef>
#include <cstdint>

namespace os {

// A file or process handle. Null means "no handle" in this layer: the Win32
// backend maps INVALID_HANDLE_VALUE to it.
typedef void* Handle;

const uint32_t kInvalidFileSize = 0xFFFFFFFFu;  // INVALID_FILE_SIZE
const uint32_t kMaxPath = 260;                  // MAX_PATH
const int kCsidlPrograms = 0x0002;              // CSIDL_PROGRAMS
const int kCsidlDesktopDirectory = 0x0010;      // CSIDL_DESKTOPDIRECTORY

struct Calls {
  // CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
  //             FILE_ATTRIBUTE_NORMAL, NULL); null on failure.
  Handle (*CreateFileA)(const char* path);
  // GetFileSize(file, NULL); kInvalidFileSize on failure.
  uint32_t (*GetFileSize)(Handle file);
  // ReadFile(file, buffer, size, &read, NULL): the success flag.
  bool (*ReadFile)(Handle file, void* buffer, uint32_t size, uint32_t* read);
  // CloseHandle.
  void (*CloseHandle)(Handle handle);

  // GetModuleFileNameA(NULL, buffer, size): the length stored, 0 on failure,
  // size when the path was cut short.
  uint32_t (*GetModuleFileNameA)(char* buffer, uint32_t size);
  // SetCurrentDirectoryA.
  bool (*SetCurrentDirectoryA)(const char* path);
  // ShellExecuteExA: verb "open", the file, the parameters, no directory,
  // SW_SHOWNORMAL, no error UI. The new process's handle, or null when
  // nothing was started (or Windows gave no handle).
  Handle (*ShellExecuteExA)(const char* file, const char* parameters);
  // WaitForSingleObject(process, milliseconds): true when it ended.
  bool (*WaitForProcess)(Handle process, uint32_t milliseconds);
  // DeleteFileA, RemoveDirectoryA: the success flag.
  bool (*DeleteFileA)(const char* path);
  bool (*RemoveDirectoryA)(const char* path);
  // GetFileAttributesA: something, file or folder, is there. Only an answer
  // that the name is absent counts as not there.
  bool (*PathExists)(const char* path);

  // CoInitialize(NULL): true when it succeeded and must be paired with
  // CoUninitialize.
  bool (*CoInitialize)();
  void (*CoUninitialize)();
  // SHGetSpecialFolderLocation(NULL, csidl) and SHGetPathFromIDListA into the
  // caller's zero-filled kMaxPath buffer; the item list is released. False
  // when either call fails or the path is empty.
  bool (*GetSpecialFolderPath)(int csidl, char* buffer);

  // The program's heap. Null when there is no memory.
  void* (*Alloc)(size_t size);
  void (*Free)(void* block);
};

// The table in use.
Calls& Current();
// The backend's own table, as the program starts with it.
const Calls& Backend();

// Puts back the table it found when it goes; tests change entries inside one.
class ScopedCalls {
 public:
  ScopedCalls() : saved_(Current()) {}
  ~ScopedCalls() { Current() = saved_; }
  ScopedCalls(const ScopedCalls&) = delete;
  ScopedCalls& operator=(const ScopedCalls&) = delete;

 private:
  Calls saved_;
};

// Owns a handle of this layer and closes it once.
class CHandle {
 public:
  CHandle() : handle_(nullptr) {}
  explicit CHandle(Handle handle) : handle_(handle) {}
  ~CHandle() { Close(); }
  CHandle(const CHandle&) = delete;
  CHandle& operator=(const CHandle&) = delete;

  Handle Get() const { return handle_; }
  bool IsOpen() const { return handle_ != nullptr; }
  // Safe to call twice: the second call finds nothing to close.
  void Close() {
    if (handle_ != nullptr) {
      Handle h = handle_;
      handle_ = nullptr;
      Current().CloseHandle(h);
    }
  }

 private:
  Handle handle_;
};

}  // namespace os
