// Win32 backend of the operating-system table: the ANSI Windows calls.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <objbase.h>

#include <cstdlib>

#include "os/os.h"

namespace os {
namespace {

Handle OpenForRead(const char* path) {
  HANDLE h = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

uint32_t FileSize(Handle file) { return ::GetFileSize(file, nullptr); }

bool Read(Handle file, void* buffer, uint32_t size, uint32_t* read) {
  DWORD got = 0;
  BOOL ok = ::ReadFile(file, buffer, size, &got, nullptr);
  if (read != nullptr) *read = got;
  return ok != FALSE;
}

void Close(Handle handle) { ::CloseHandle(handle); }

uint32_t ModuleFileName(char* buffer, uint32_t size) {
  return ::GetModuleFileNameA(nullptr, buffer, size);
}

bool SetCurrentDir(const char* path) { return ::SetCurrentDirectoryA(path) != FALSE; }

Handle Launch(const char* file, const char* parameters) {
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  // NO_UI: a missing companion must not stop the run with an error box,
  // which is also how the plain ShellExecuteA behaves.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = "open";
  info.lpFile = file;
  info.lpParameters = parameters;
  info.lpDirectory = nullptr;
  info.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExA(&info)) return nullptr;
  return info.hProcess;
}

bool WaitProcess(Handle process, uint32_t milliseconds) {
  return ::WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
}

bool DeleteOne(const char* path) { return ::DeleteFileA(path) != FALSE; }

bool RemoveDir(const char* path) { return ::RemoveDirectoryA(path) != FALSE; }

// Something is there unless Windows says the name is absent. Any other
// failure (access denied on its folder, say) counts as there: the run reports
// what it could not remove and must not miss an item that may still exist.
bool Exists(const char* path) {
  if (::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return true;
  switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return false;
    default:
      return true;
  }
}

bool ComInit() { return SUCCEEDED(::CoInitialize(nullptr)); }

void ComUninit() { ::CoUninitialize(); }

bool SpecialFolder(int csidl, char* buffer) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &items)) || items == nullptr) return false;
  BOOL ok = ::SHGetPathFromIDListA(items, buffer);
  ::CoTaskMemFree(items);
  return ok != FALSE && buffer[0] != '\0';
}

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
