// The run fixture: a product folder and watched calls.
#include "tests/support/run_fixture.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace runfixture {

// Lower case: entries are lower-cased, and the POSIX stand-in is case-sensitive.
const char kProductLeaf[] = "nolvex\x81\x5C\xB1\xE0\xBC\xAD";  // "nolvex乗编辑"
#define NX_PRODUCT "Nolvex\xCE\xC4\xB1\xBE\xB1\xE0\xBC\xAD\xC6\xF7"
const char kDesktopLink[] = NX_PRODUCT ".lnk";
const char kMenuFolder[] = NX_PRODUCT;
const char kMenuUninstallLink[] = "\xD0\xB6\xD4\xD8.lnk";

namespace {

std::string g_modulePath;
std::string g_desktop, g_programs;

uint32_t ModulePath(char* buffer, uint32_t size) {
  if (g_modulePath.size() >= size) {
    std::memcpy(buffer, g_modulePath.data(), size - 1);
    buffer[size - 1] = '\0';
    return size;
  }
  std::strcpy(buffer, g_modulePath.c_str());
  return static_cast<uint32_t>(g_modulePath.size());
}

bool WatchedDelete(const char* path) {
  Product::watch().attempts.push_back(path);
  bool ok = os::Backend().DeleteFileA(path);
  if (ok) Product::watch().deleted.push_back(path);
  return ok;
}

os::Handle WatchedLaunch(const char* file, const char* parameters) {
  Product::watch().launched.push_back(std::string(file) + " " + parameters);
  os::Handle h = os::Backend().ShellExecuteExA(file, parameters);
  if (h != nullptr) ++Product::watch().openHandles;
  return h;
}

bool WatchedWait(os::Handle process, uint32_t ms) {
  ++Product::watch().waits;
  Product::watch().waitedMs = ms;
  return os::Backend().WaitForProcess(process, ms);
}

os::Handle WatchedOpen(const char* path) {
  os::Handle h = os::Backend().CreateFileA(path);
  if (h != nullptr) ++Product::watch().openHandles;
  return h;
}

void WatchedClose(os::Handle h) {
  --Product::watch().openHandles;
  os::Backend().CloseHandle(h);
}

bool WatchedComInit() {
  bool ok = os::Backend().CoInitialize();
  if (ok) ++Product::watch().comInits;
  return ok;
}

void WatchedComUninit() {
  ++Product::watch().comUninits;
  os::Backend().CoUninitialize();
}

void* WatchedAlloc(size_t size) {
  Watch& w = Product::watch();
  if (++w.allocations == w.failAllocation) return nullptr;
  void* p = os::Backend().Alloc(size);
  if (p != nullptr) ++w.liveBlocks;
  return p;
}

void WatchedFree(void* p) {
  --Product::watch().liveBlocks;
  os::Backend().Free(p);
}

#ifndef _WIN32
std::string Trimmed(const std::string& folder) {
  std::string f = folder;
  while (!f.empty() && f.back() == '\\') f.pop_back();
  return f;
}

bool StandInFolder(int csidl, char* buffer) {
  const std::string& path = csidl == os::kCsidlDesktopDirectory ? g_desktop : g_programs;
  std::strcpy(buffer, path.c_str());
  return true;
}
#endif

}  // namespace

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& i : items) out += "[" + i + "]";
  return out;
}

Watch& Product::watch() {
  static Watch w;
  return w;
}

Product::Product() : folder_(kProductLeaf) {
  watch() = Watch();
  g_modulePath = folder_ / "Uninstall.exe";
  os::Calls& c = os::Current();
  c.GetModuleFileNameA = ModulePath;
  c.DeleteFileA = WatchedDelete;
  c.ShellExecuteExA = WatchedLaunch;
  c.WaitForProcess = WatchedWait;
  c.CreateFileA = WatchedOpen;
  c.CloseHandle = WatchedClose;
  c.CoInitialize = WatchedComInit;
  c.CoUninitialize = WatchedComUninit;
  c.Alloc = WatchedAlloc;
  c.Free = WatchedFree;
#ifdef _WIN32
  char path[MAX_PATH] = {};
  os::Backend().GetSpecialFolderPath(os::kCsidlDesktopDirectory, path);
  desktop_ = path;
  std::memset(path, 0, sizeof path);
  os::Backend().GetSpecialFolderPath(os::kCsidlPrograms, path);
  programs_ = path;
#else
  std::string parent = Trimmed(folder_.Path());
  parent = parent.substr(0, CString(parent.c_str()).ReverseFind('\\'));
  desktop_ = parent + "\\Desktop";
  programs_ = parent + "\\Start Menu\\Programs";
  testfs::MakeFolder(desktop_);
  testfs::MakeFolder(programs_);
  g_desktop = desktop_;
  g_programs = programs_;
  c.GetSpecialFolderPath = StandInFolder;
#endif
}

Product::~Product() {
  testfs::RemoveTree(desktop_ + "\\" + kDesktopLink);
  testfs::RemoveTree(programs_ + "\\" + kMenuFolder);
}

void Product::AddShortcuts() {
  testfs::WriteFile(desktop_ + "\\" + kDesktopLink, "lnk");
  testfs::MakeFolder(programs_ + "\\" + kMenuFolder);
  testfs::WriteFile(programs_ + "\\" + kMenuFolder + "\\" + kDesktopLink, "lnk");
  testfs::WriteFile(programs_ + "\\" + kMenuFolder + "\\" + kMenuUninstallLink, "lnk");
}

bool Product::ShortcutsGone() const {
  return !testfs::Exists(desktop_ + "\\" + kDesktopLink) && !testfs::Exists(programs_ + "\\" + kMenuFolder);
}

void Product::AddCompanion() {
#ifdef _WIN32
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dir(self);
  dir = dir.substr(0, dir.rfind('\\') + 1);
  CopyFileA((dir + "nxedit.exe").c_str(), (folder_ / "nxedit.exe").c_str(), FALSE);
#endif
}

std::string Product::CompanionRecord() const { return testfs::ReadFile(folder_ / "nxedit-called.txt"); }

std::vector<std::string> Product::Run() {
  watch().allocations = 0;
  CLeftBehind left;
  RunUninstall(left);
  std::vector<std::string> items;
  for (int i = 0; i < left.GetSize(); ++i) items.push_back(left[i].GetString());
  return items;
}

}  // namespace runfixture
