// hold-file PATH SHARE READY RELEASE: another process that holds a file.
//
// Opens PATH for reading with the FILE_SHARE_* flags SHARE (a number), sets
// the named event READY, and keeps the file open until the named event
// RELEASE is set (at most a minute). Exits 0, or 2 when the file could not
// be opened (READY is then not set).
//
// hold-file PATH SHARE - SECONDS: the same for scripts, which have no events:
// prints "held" once the file is open and keeps it that long.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 5) return 1;
  DWORD share = std::strtoul(argv[2], nullptr, 10);
  HANDLE file = CreateFileA(argv[1], GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  if (std::strcmp(argv[3], "-") == 0) {
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(std::strtoul(argv[4], nullptr, 10) * 1000);
    CloseHandle(file);
    return 0;
  }
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
  if (ready == nullptr || release == nullptr) return 3;
  SetEvent(ready);
  WaitForSingleObject(release, 60000);
  CloseHandle(file);
  return 0;
}
