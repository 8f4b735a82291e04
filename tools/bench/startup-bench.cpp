// startup-bench: how long Windows programs take from their start to their
// dialog being shown. Under Wine, on a display (tools/wine-gui-run).
//
//   startup-bench [--poll] RUNS NAME PROGRAM TITLE [NAME PROGRAM TITLE]...
//
// For each repetition, and each contender in turn (the order rotates from
// one repetition to the next): reads the performance counter, starts
// PROGRAM with CreateProcessW in its own folder, waits until a visible
// top-level window of that process has the title TITLE, reads the counter
// again, then answers the window with IDCANCEL and waits for the process to
// end. The first repetition warms up (DLLs, fonts, the server's caches) and
// is not counted.
//
// The window is noticed with little load on the Wine server: an
// out-of-context WinEvent hook on EVENT_OBJECT_CREATE collects the windows
// the process creates, and those few are checked every millisecond. (Wine
// 8.0 sends no EVENT_OBJECT_SHOW, so the moment of showing itself cannot be
// hooked.) With --poll, every top-level window is looked at every
// millisecond instead.
//
// Prints, one a line, tab-separated:
//   run     REPETITION NAME MILLISECONDS      (repetition 0 is the warm-up)
//   median  NAME MILLISECONDS COUNT
// Exit status: 0 done, 1 a contender failed (did not start, ended without
// its window, showed none within 30 s, or did not end when answered), 2 bad
// usage.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Contender {
  std::wstring name, program, title;
  std::vector<double> ms;
};

const DWORD kShowTimeoutMs = 30000;
const DWORD kExitTimeoutMs = 10000;

// What the hook looks for, and what it found.
DWORD g_pid = 0;
const std::wstring* g_title = nullptr;
HWND g_found = nullptr;
LARGE_INTEGER g_foundAt;
std::vector<HWND> g_created;

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

bool IsTheWindow(HWND h) {
  if (h == nullptr || GetAncestor(h, GA_ROOT) != h || !IsWindowVisible(h)) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != g_pid) return false;
  WCHAR text[256] = {};
  GetWindowTextW(h, text, 256);
  return *g_title == text;
}

void Found(HWND h) {
  QueryPerformanceCounter(&g_foundAt);
  g_found = h;
}

void CALLBACK OnCreate(HWINEVENTHOOK, DWORD, HWND h, LONG object, LONG child, DWORD, DWORD) {
  if (object != OBJID_WINDOW || child != CHILDID_SELF || h == nullptr) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == g_pid) g_created.push_back(h);
}

void CheckCreated() {
  for (HWND h : g_created) {
    if (IsTheWindow(h)) {
      Found(h);
      return;
    }
  }
}

// Named callback, not a lambda: on 32-bit Windows it must be stdcall.
BOOL CALLBACK CheckWindow(HWND h, LPARAM) {
  if (!IsTheWindow(h)) return TRUE;
  Found(h);
  return FALSE;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// One start of one contender: milliseconds from CreateProcessW to the window
// shown, or a negative number when it failed (the reason on stderr).
double StartOnce(const Contender& c, bool poll) {
  std::wstring folder = c.program.substr(0, c.program.find_last_of(L'\\') + 1);
  std::wstring commandLine = L"\"" + c.program + L"\"";
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  g_found = nullptr;
  g_title = &c.title;
  Pump();  // nothing left over from the last run
  g_created.clear();

  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(c.program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    std::fprintf(stderr, "startup-bench: cannot start %s (error %lu)\n", Utf8(c.program).c_str(), GetLastError());
    return -1;
  }
  g_pid = pi.dwProcessId;
  bool ended = false;
  DWORD begun = GetTickCount();
  while (g_found == nullptr && !ended && GetTickCount() - begun < kShowTimeoutMs) {
    DWORD r = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 1, QS_ALLINPUT);
    Pump();
    if (poll) {
      EnumWindows(CheckWindow, 0);
    } else {
      CheckCreated();
    }
    if (r == WAIT_OBJECT_0 && g_found == nullptr) ended = true;
  }
  double ms = -1;
  if (g_found != nullptr) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    ms = 1000.0 * static_cast<double>(g_foundAt.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    PostMessageW(g_found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  } else {
    std::fprintf(stderr, "startup-bench: %s %s\n", Utf8(c.name).c_str(),
                 ended ? "ended without showing its window" : "showed no window in time");
  }
  if (WaitForSingleObject(pi.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "startup-bench: %s did not end; ending it\n", Utf8(c.name).c_str());
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, kExitTimeoutMs);
    ms = -1;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  g_pid = 0;
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int Usage() {
  std::fputs("usage: startup-bench [--poll] RUNS NAME PROGRAM TITLE [NAME PROGRAM TITLE]...\n", stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  int arg = 1;
  bool poll = false;
  if (arg < argc && std::wcscmp(argv[arg], L"--poll") == 0) {
    poll = true;
    ++arg;
  }
  if (argc - arg < 4 || (argc - arg - 1) % 3 != 0) return Usage();
  int runs = _wtoi(argv[arg++]);
  if (runs < 1) return Usage();
  std::vector<Contender> contenders;
  for (; arg < argc; arg += 3) contenders.push_back({argv[arg], argv[arg + 1], argv[arg + 2], {}});

  HWINEVENTHOOK hook = nullptr;
  if (!poll) {
    hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnCreate, 0, 0,
                           WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (hook == nullptr) {
      std::fprintf(stderr, "startup-bench: SetWinEventHook failed (error %lu)\n", GetLastError());
      return 1;
    }
  }
  std::printf("detect\t%s\n", poll ? "poll" : "create-hook");

  size_t count = contenders.size();
  for (int rep = 0; rep <= runs; ++rep) {
    for (size_t k = 0; k < count; ++k) {
      Contender& c = contenders[(k + static_cast<size_t>(rep)) % count];
      double ms = StartOnce(c, poll);
      if (ms < 0) return 1;
      std::printf("run\t%d\t%s\t%.2f\n", rep, Utf8(c.name).c_str(), ms);
      if (rep > 0) c.ms.push_back(ms);
      Sleep(100);  // let the ended process's windows and the server settle
    }
  }
  for (const Contender& c : contenders)
    std::printf("median\t%s\t%.2f\t%zu\n", Utf8(c.name).c_str(), Median(c.ms), c.ms.size());
  if (hook != nullptr) UnhookWinEvent(hook);
  return 0;
}
