// wininfo: looks at the windows of the Wine prefix it runs in, for GUI tests
// driven from a Linux script (tools/gui-kit.sh wraps it). All text in and out
// is UTF-8; coordinates are screen pixels, which on Wine's virtual desktop at
// 0,0 are the X display's, so xdotool can click them.
//
//   wininfo list                      every visible top-level window and its controls
//   wininfo show TITLE                one window (exact title) and its controls
//   wininfo wait TITLE [MS]           wait until it is visible (default 10000 ms)
//   wininfo gone TITLE [MS]           wait until no visible window has that title
//   wininfo control TITLE TEXT        centre "X Y" of the control whose text is TEXT
//   wininfo closebox TITLE            centre "X Y" of the window's close box
//   wininfo focus TITLE               bring it to the foreground
//   wininfo syscommand TITLE ID       post WM_SYSCOMMAND with ID (decimal or 0x hex)
// (The system menu's items cannot be read from here: Wine keeps menus per
// process, so GetSystemMenu on another process's window fails. Open it with
// alt+space and take a screenshot instead.)
//   wininfo hold                      sleep until killed (keeps the virtual desktop open)
//
// Output lines are tab-separated:
//   window  HWND PID CLASS LEFT,TOP,RIGHT,BOTTOM STYLE EXSTYLE TITLE
//   control HWND ID  CLASS LEFT,TOP,RIGHT,BOTTOM STYLE EXSTYLE TEXT
// Exit status: 0 done, 1 not found or timed out, 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

// Tabs and line breaks would break the line format.
std::string Field(const std::wstring& w) {
  std::string s = Utf8(w);
  for (char& c : s) {
    if (c == '\t') c = ' ';
    if (c == '\n') c = '|';
    if (c == '\r') c = ' ';
  }
  return s;
}

std::wstring Text(HWND h) {
  // WM_GETTEXT through SendMessageTimeout: a hung window must not hang us.
  WCHAR buf[1024] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got);
  // Wine hands back an icon control's resource ordinal (0xFFFF, number) as
  // its text: show it as "#number".
  if (buf[0] == 0xFFFF) return L"#" + std::to_wstring(buf[1]);
  return buf;
}

std::wstring ClassOf(HWND h) {
  WCHAR buf[256] = {};
  GetClassNameW(h, buf, 256);
  return buf;
}

void Print(const char* kind, HWND h, long idOrPid, const std::wstring& text) {
  RECT r = {};
  GetWindowRect(h, &r);
  std::printf("%s\t%p\t%ld\t%s\t%ld,%ld,%ld,%ld\t0x%08lX\t0x%08lX\t%s\n", kind, static_cast<void*>(h), idOrPid,
              Field(ClassOf(h)).c_str(), r.left, r.top, r.right, r.bottom,
              static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE)),
              static_cast<unsigned long>(GetWindowLongW(h, GWL_EXSTYLE)), Field(text).c_str());
}

// Named callbacks, not lambdas: on 32-bit Windows they must be stdcall.
BOOL CALLBACK AddVisible(HWND h, LPARAM p) {
  if (IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
  return TRUE;
}

BOOL CALLBACK AddAny(HWND h, LPARAM p) {
  reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
  return TRUE;
}

std::vector<HWND> TopLevel() {
  std::vector<HWND> all;
  EnumWindows(AddVisible, reinterpret_cast<LPARAM>(&all));
  return all;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, AddAny, reinterpret_cast<LPARAM>(&all));
  return all;
}

void Show(HWND h) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  Print("window", h, static_cast<long>(pid), Text(h));
  for (HWND c : Children(h)) Print("control", c, GetDlgCtrlID(c), Text(c));
}

HWND Find(const std::wstring& title) {
  for (HWND h : TopLevel())
    if (Text(h) == title) return h;
  return nullptr;
}

HWND WaitFor(const std::wstring& title, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND h = Find(title)) return h;
    if (GetTickCount() - start >= ms) return nullptr;
    Sleep(100);
  }
}

int Usage() {
  std::fputs("usage: wininfo list | show TITLE | wait TITLE [MS] | gone TITLE [MS] | control TITLE TEXT |"
             " closebox TITLE | focus TITLE | syscommand TITLE ID | hold\n",
             stderr);
  return 2;
}

int NotFound(const std::wstring& title) {
  std::fprintf(stderr, "wininfo: no visible window \"%s\"\n", Utf8(title).c_str());
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Lines go to a script as they come.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) return Usage();
  std::wstring cmd = argv[1];
  std::wstring title = argc > 2 ? argv[2] : L"";
  DWORD ms = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 10000;

  if (cmd == L"list") {
    for (HWND h : TopLevel()) Show(h);
    return 0;
  }
  if (cmd == L"hold") {
    GetDesktopWindow();  // joins (or opens) the virtual desktop
    for (;;) Sleep(60000);
  }
  if (argc < 3) return Usage();

  if (cmd == L"show") {
    HWND h = Find(title);
    if (!h) return NotFound(title);
    Show(h);
    return 0;
  }
  if (cmd == L"wait") {
    HWND h = WaitFor(title, ms);
    if (!h) return NotFound(title);
    Show(h);
    return 0;
  }
  if (cmd == L"gone") {
    DWORD start = GetTickCount();
    while (Find(title)) {
      if (GetTickCount() - start >= ms) {
        std::fprintf(stderr, "wininfo: \"%s\" is still there\n", Utf8(title).c_str());
        return 1;
      }
      Sleep(100);
    }
    return 0;
  }
  if (cmd == L"control") {
    if (argc < 4) return Usage();
    HWND h = Find(title);
    if (!h) return NotFound(title);
    for (HWND c : Children(h)) {
      if (Text(c) != argv[3] || !IsWindowVisible(c)) continue;
      RECT r;
      GetWindowRect(c, &r);
      std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
      return 0;
    }
    std::fprintf(stderr, "wininfo: no control \"%s\" in \"%s\"\n", Utf8(argv[3]).c_str(), Utf8(title).c_str());
    return 1;
  }
  if (cmd == L"closebox") {
    HWND h = Find(title);
    if (!h) return NotFound(title);
    // The close box is the right-most caption button: a square of the
    // caption button size inside the frame. Wine draws the caption itself on
    // its virtual desktop, with these metrics.
    RECT r;
    GetWindowRect(h, &r);
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    bool thick = (style & WS_THICKFRAME) != 0;
    int fx = GetSystemMetrics(thick ? SM_CXSIZEFRAME : SM_CXFIXEDFRAME);
    int fy = GetSystemMetrics(thick ? SM_CYSIZEFRAME : SM_CYFIXEDFRAME);
    int bw = GetSystemMetrics(SM_CXSIZE), bh = GetSystemMetrics(SM_CYSIZE);
    std::printf("%ld %ld\n", r.right - fx - bw / 2 - 1, r.top + fy + bh / 2);
    return 0;
  }
  if (cmd == L"focus") {
    HWND h = Find(title);
    if (!h) return NotFound(title);
    SetForegroundWindow(h);
    return 0;
  }
  if (cmd == L"syscommand") {
    if (argc < 4) return Usage();
    HWND h = Find(title);
    if (!h) return NotFound(title);
    return PostMessageW(h, WM_SYSCOMMAND, std::wcstoul(argv[3], nullptr, 0), 0) ? 0 : 1;
  }
  return Usage();
}
