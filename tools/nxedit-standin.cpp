// A stand-in for the product's own program, nxedit.exe, for tests and the
// demo. Started with "unreg", it writes its command line and its current
// directory into "nxedit-called.txt" beside itself and exits. When the
// environment variable NXEDIT_STANDIN_MS is set, it first keeps its own
// executable open without delete sharing for that many milliseconds, as a
// product that takes its time to unregister holds its files.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  char* slash = std::strrchr(path, '\\');
  if (slash == nullptr) return 1;
  std::strcpy(slash + 1, "nxedit-called.txt");

  char cwd[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, cwd);
  FILE* out = std::fopen(path, "ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "cmdline=%s\r\ncwd=%s\r\n", GetCommandLineA(), cwd);
  std::fclose(out);

  char delay[32] = {};
  if (GetEnvironmentVariableA("NXEDIT_STANDIN_MS", delay, sizeof delay) > 0) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    HANDLE held = CreateFileA(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    Sleep(std::strtoul(delay, nullptr, 10));
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  }
  return 0;
}
