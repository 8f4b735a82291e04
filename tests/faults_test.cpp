// Faults: every file-system and shell call of a whole run failing in turn,
// and real failures of the file system (files in use by another process,
// read-only files, folders named as files).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/text_file_reader.h"
#include "engine/uninstall.h"
#include "tests/support/run_fixture.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using runfixture::Join;
using runfixture::Product;


// ---- Failing one call of the table ------------------------------------------
//
// Every call of the table that can fail is wrapped: each call of the run is
// numbered, and the one whose number is `failAt` fails in the given way.
// Through the table, access denied, a sharing violation and a folder where a
// file was expected look alike (the call fails and its target is still
// there): that is kRefused. kGone is "not found": the target is no longer
// there (someone else removed it just before) and the call fails.
// CloseHandle and CoUninitialize report nothing, and allocations fail in
// Run.OutOfMemoryAtEveryAllocation, so they are not wrapped.

enum Kind { kRefused, kGone };
const char* const kKindNames[] = {"refused (denied, in use, a folder)", "gone (not found)"};

struct Point {
  std::string call;
  std::string target;
};

struct Injection {
  os::Calls inner;  // the fixture's table, which the wrappers call on
  std::vector<Point> seen;
  // Every deletion and folder removal, with the number of allocations the
  // run had made when it came.
  std::vector<std::pair<std::string, long>> changes;
  size_t failAt = 0;  // 1-based; 0: nothing fails
  Kind kind = kRefused;
  std::string failedCall, failedTarget;
} g_inj;

// Numbers the call; true when this is the one to fail.
bool Hit(const char* call, const std::string& target) {
  g_inj.seen.push_back({call, target});
  if (std::strcmp(call, "DeleteFileA") == 0 || std::strcmp(call, "RemoveDirectoryA") == 0)
    g_inj.changes.push_back({std::string(call) + " " + target, Product::watch().allocations});
  if (g_inj.seen.size() != g_inj.failAt) return false;
  g_inj.failedCall = call;
  g_inj.failedTarget = target;
  return true;
}

// Removes what a "not found" failure finds missing.
void Vanish(const char* path) { testfs::RemoveTree(path); }

os::Handle FCreateFile(const char* path) {
  if (!Hit("CreateFileA", path)) return g_inj.inner.CreateFileA(path);
  if (g_inj.kind == kGone) Vanish(path);
  return nullptr;
}
uint32_t FGetFileSize(os::Handle h) {
  return Hit("GetFileSize", "") ? os::kInvalidFileSize : g_inj.inner.GetFileSize(h);
}
bool FReadFile(os::Handle h, void* buffer, uint32_t size, uint32_t* read) {
  return Hit("ReadFile", "") ? false : g_inj.inner.ReadFile(h, buffer, size, read);
}
uint32_t FModuleFileName(char* buffer, uint32_t size) {
  if (!Hit("GetModuleFileNameA", "")) return g_inj.inner.GetModuleFileNameA(buffer, size);
  if (g_inj.kind == kGone) return 0;
  // Refused: the path did not fit and was cut short.
  std::memset(buffer, 'x', size - 1);
  buffer[size - 1] = '\0';
  return size;
}
bool FSetCurrentDirectory(const char* path) {
  return Hit("SetCurrentDirectoryA", path) ? false : g_inj.inner.SetCurrentDirectoryA(path);
}
os::Handle FLaunch(const char* file, const char* parameters) {
  return Hit("ShellExecuteExA", file) ? nullptr : g_inj.inner.ShellExecuteExA(file, parameters);
}
bool FWait(os::Handle process, uint32_t ms) {
  // Refused: it timed out; the companion is then left to run on.
  return Hit("WaitForProcess", "") ? false : g_inj.inner.WaitForProcess(process, ms);
}
bool FDelete(const char* path) {
  if (!Hit("DeleteFileA", path)) return g_inj.inner.DeleteFileA(path);
  if (g_inj.kind == kGone) Vanish(path);
  return false;
}
bool FRemoveDirectory(const char* path) {
  if (!Hit("RemoveDirectoryA", path)) return g_inj.inner.RemoveDirectoryA(path);
  if (g_inj.kind == kGone) g_inj.inner.RemoveDirectoryA(path);  // goes if empty, reports failure
  return false;
}
bool FExists(const char* path) {
  if (!Hit("PathExists", path)) return g_inj.inner.PathExists(path);
  // Only "not found" is a failure of this look-up that the run can act on
  // truthfully; see the note in the report.
  Vanish(path);
  return false;
}
bool FComInit() { return Hit("CoInitialize", "") ? false : g_inj.inner.CoInitialize(); }
bool FSpecialFolder(int csidl, char* buffer) {
  return Hit("GetSpecialFolderPath", std::to_string(csidl)) ? false : g_inj.inner.GetSpecialFolderPath(csidl, buffer);
}

// The kinds of failure each call has.
std::vector<Kind> KindsOf(const std::string& call) {
  if (call == "CreateFileA" || call == "DeleteFileA" || call == "RemoveDirectoryA" || call == "GetModuleFileNameA")
    return {kRefused, kGone};
  if (call == "PathExists" || call == "ShellExecuteExA") return {kGone};
  return {kRefused};
}

void Wrap(size_t failAt, Kind kind) {
  g_inj.inner = os::Current();
  g_inj.seen.clear();
  g_inj.changes.clear();
  g_inj.failAt = failAt;
  g_inj.kind = kind;
  g_inj.failedCall.clear();
  g_inj.failedTarget.clear();
  os::Calls& c = os::Current();
  c.CreateFileA = FCreateFile;
  c.GetFileSize = FGetFileSize;
  c.ReadFile = FReadFile;
  c.GetModuleFileNameA = FModuleFileName;
  c.SetCurrentDirectoryA = FSetCurrentDirectory;
  c.ShellExecuteExA = FLaunch;
  c.WaitForProcess = FWait;
  c.DeleteFileA = FDelete;
  c.RemoveDirectoryA = FRemoveDirectory;
  c.PathExists = FExists;
  c.CoInitialize = FComInit;
  c.GetSpecialFolderPath = FSpecialFolder;
}

// The product every failure is tried on: listed files in sub-folders and at
// the top, a GBK name, a folder named as a file (never deletable), a listed
// file that is missing, the spared uninstaller, empty "script", shortcuts.
const char* const kListed[] = {"data\\a.txt", "help\\b.chm", "c.txt", "locked", "\xCE\xC4\xB1\xBE.txt", "missing.txt"};

void Populate(Product& p) {
  p.Folder().Add("data\\a.txt");
  p.Folder().Add("help\\b.chm");
  p.Folder().AddFolder("script");
  p.Folder().Add("c.txt");
  p.Folder().AddFolder("locked");
  p.Folder().Add("\xCE\xC4\xB1\xBE.txt");
  p.Folder().Add("uninstall.exe");
  p.AddShortcuts();
  p.AddCompanion();
  std::string log;
  for (const char* f : kListed) log += std::string("[FILE] \\") + f + "\r\n";
  log += "[FILE] \\uninstall.exe\r\n";
  p.AddLog(log);
}

// Runs the uninstall with call `failAt` failing; "" when every check held,
// else what broke.
std::string RunWithFailure(size_t failAt, Kind kind, std::vector<Point>* calls) {
  Product p;
  Populate(p);
  const std::string menu = p.Programs() + "\\" + runfixture::kMenuFolder;
  const std::string desktopLink = p.Desktop() + "\\" + runfixture::kDesktopLink;
  const std::vector<std::string> menuLinks = {menu + "\\" + runfixture::kDesktopLink,
                                              menu + "\\" + runfixture::kMenuUninstallLink};

  std::string problems;
  auto expect = [&problems](bool ok, const std::string& what) {
    if (!ok) problems += what + "; ";
  };

  Wrap(failAt, kind);
  std::vector<std::string> left;
  try {
    left = p.Run();
  } catch (...) {
    return "the run did not complete";
  }
  *calls = g_inj.seen;
  os::Current() = g_inj.inner;
  const std::string call = g_inj.failedCall, target = g_inj.failedTarget;

  expect(Product::watch().openHandles == 0, std::to_string(Product::watch().openHandles) + " handles open");
  expect(Product::watch().liveBlocks == 0, std::to_string(Product::watch().liveBlocks) + " blocks live");
  expect(Product::watch().comInits == Product::watch().comUninits, "COM not paired");

  const bool folderUnknown = call == "GetModuleFileNameA" || call == "SetCurrentDirectoryA";
  const bool logUnloaded = call == "CreateFileA" || call == "GetFileSize" || call == "ReadFile";
  const bool noDesktop = call == "GetSpecialFolderPath" && target == std::to_string(os::kCsidlDesktopDirectory);
  const bool noPrograms = call == "GetSpecialFolderPath" && target == std::to_string(os::kCsidlPrograms);

  // What must still be there: of what was there, the folder named as a
  // file and the target of a refused deletion, unless the failed call found
  // its target gone.
  auto stays = [&](const std::string& shown) {
    const bool targeted = !target.empty() && (shown == target || shown == p / target);
    if (shown == p / "missing.txt" || (kind == kGone && targeted)) return false;
    return shown == p / "locked" || (call == "DeleteFileA" && kind == kRefused && targeted);
  };

  std::vector<std::string> expectedLeft;
  if (folderUnknown || logUnloaded) {
    // No listed file is touched; the log stands for them all, if it is there.
    for (const char* f : kListed) {
      if (std::strcmp(f, "missing.txt") != 0) expect(testfs::Exists(p / f), std::string(f) + " was touched");
    }
    expect(testfs::Exists(p / "data") && testfs::Exists(p / "help"), "a product sub-folder went");
    if (testfs::Exists(p / "install.log")) expectedLeft.push_back(p / "install.log");
    if (folderUnknown && !left.empty()) {
      // Without a product folder, the log is named as the run knew it.
      expect(left.size() == 1 && left[0].size() >= 11 && left[0].compare(left[0].size() - 11, 11, "install.log") == 0,
             "reported " + Join(left));
      expectedLeft = left;
    }
    for (const std::string& a : Product::watch().attempts)
      expect(a.find("lnk") != std::string::npos, "a relative deletion without the product folder: " + a);
  } else {
    for (const char* f : kListed) {
      const std::string shown = p / f;
      if (stays(shown)) expectedLeft.push_back(shown);
      expect(testfs::Exists(shown) == stays(shown), shown + (testfs::Exists(shown) ? " still there" : " gone"));
    }
    // Emptied folders go, unless their own removal failed.
    struct Folder {
      const char* name;
      const char* inside;
    } folders[] = {{"data", "data\\a.txt"}, {"help", "help\\b.chm"}, {"script", nullptr}};
    for (const Folder& f : folders) {
      bool kept = (call == "RemoveDirectoryA" && kind == kRefused && target == f.name) ||
                  (f.inside != nullptr && stays(p / f.inside));
      expect(testfs::Exists(p / f.name) == kept, std::string(f.name) + (kept ? " went" : " stayed"));
    }
  }

  // The shortcuts: gone unless their folder is unknown or their own
  // deletion was refused; reported exactly when they stay and were named.
  if (!noDesktop) {
    if (stays(desktopLink)) expectedLeft.push_back(desktopLink);
    expect(testfs::Exists(desktopLink) == stays(desktopLink), "desktop shortcut");
  } else {
    expect(testfs::Exists(desktopLink), "desktop shortcut deleted without its folder");
  }
  bool menuLinkStays = false;
  for (const std::string& link : menuLinks) {
    if (noPrograms) {
      expect(testfs::Exists(link), link + " deleted without its folder");
      continue;
    }
    if (stays(link)) {
      expectedLeft.push_back(link);
      menuLinkStays = true;
    }
    expect(testfs::Exists(link) == stays(link), link);
  }
  bool menuKept = noPrograms || menuLinkStays || (call == "RemoveDirectoryA" && kind == kRefused && target == menu);
  expect(testfs::Exists(menu) == menuKept, "Start-menu folder");

  expect(Join(expectedLeft) == Join(left), "left behind " + Join(left) + ", expected " + Join(expectedLeft));
  return problems;
}

// Runs the reader's Open with call `failAt` of it failing: its code.
int OpenWithFailure(size_t failAt, Kind kind) {
  Product p;
  p.AddLog("[FILE] \\a.txt\r\n");
  Wrap(failAt, kind);
  CTextFileReader reader;
  int code = reader.Open((p / "install.log").c_str());
  os::Current() = g_inj.inner;
  char line[64];
  if (reader.FindLine("[FILE]", line, sizeof line) != 1 && code != 0) code = -1;
  return code;
}

TEST(Faults, EveryCallOfARunFailingInTurn) {
  // A run with nothing failing gives the calls, in order.
  std::vector<Point> calls;
  ASSERT_EQ("", RunWithFailure(0, kRefused, &calls)) << "without any failure";
  ASSERT_GT(calls.size(), 10u);

  size_t points = 0, runs = 0;
  for (size_t at = 1; at <= calls.size(); ++at) {
    for (Kind kind : KindsOf(calls[at - 1].call)) {
      std::vector<Point> seen;
      std::string problems = RunWithFailure(at, kind, &seen);
      EXPECT_EQ("", problems) << "call " << at << ": " << calls[at - 1].call << "(" << calls[at - 1].target << ") "
                              << kKindNames[kind];
      ++runs;
    }
    ++points;
  }
  std::printf("call-failure points exercised: %zu calls of a run, %zu failing runs\n", points, runs);
  std::string list;
  for (const Point& c : calls) list += c.call + " ";
  std::printf("calls: %s\n", list.c_str());
}

// Out of memory at each allocation in turn, seen from the file system: the
// run stops right there (no allocation after the failing one) and has made
// exactly the deletions and removals that a run without failure makes
// before that allocation, no more and no fewer.
// The changes, with the per-test shortcut folders named alike.
std::vector<std::pair<std::string, long>> Changes(const Product& p) {
  std::vector<std::pair<std::string, long>> out = g_inj.changes;
  for (auto& c : out) {
    for (const std::string* folder : {&p.Desktop(), &p.Programs()}) {
      size_t at = c.first.find(*folder);
      if (at != std::string::npos) c.first.replace(at, folder->size(), folder == &p.Desktop() ? "<desktop>" : "<programs>");
    }
  }
  return out;
}

TEST(Faults, OutOfMemoryStopsTheRunAtItsPoint) {
  std::vector<std::pair<std::string, long>> clean;
  long total = 0;
  {
    Product p;
    Populate(p);
    Wrap(0, kRefused);
    p.Run();
    clean = Changes(p);
    total = Product::watch().allocations;
    os::Current() = g_inj.inner;
  }
  ASSERT_GT(total, 5);
  for (long fail = 1; fail <= total; ++fail) {
    Product p;
    Populate(p);
    Wrap(0, kRefused);
    Product::watch().failAllocation = fail;
    bool threw = false;
    try {
      p.Run();
    } catch (const CMemoryException&) {
      threw = true;
    }
    os::Current() = g_inj.inner;
    ASSERT_TRUE(threw) << "allocation " << fail << " of " << total;
    EXPECT_EQ(fail, Product::watch().allocations) << "allocations went on after the failure";
    std::string made, expected;
    for (const auto& c : Changes(p)) made += "[" + c.first + "]";
    for (const auto& c : clean) {
      if (c.second < fail) expected += "[" + c.first + "]";
    }
    EXPECT_EQ(expected, made) << "allocation " << fail;
    EXPECT_EQ(0, Product::watch().liveBlocks) << "allocation " << fail;
    EXPECT_EQ(0, Product::watch().openHandles) << "allocation " << fail;
  }
  std::printf("allocation points exercised: %ld\n", total);
}

TEST(Faults, LogLoadFailuresGiveTheReaderCodes) {
  struct Case {
    const char* label;
    size_t failAt;  // CreateFileA, GetFileSize, ReadFile: calls 1, 2, 3 of Open
    Kind kind;
    int code;
  } cases[] = {
      {"open: not found", 1, kGone, CTextFileReader::kCannotOpen},
      {"open: denied or in use", 1, kRefused, CTextFileReader::kCannotOpen},
      {"size", 2, kRefused, CTextFileReader::kCannotSize},
      {"read", 3, kRefused, CTextFileReader::kCannotRead},
      {"nothing fails", 0, kRefused, CTextFileReader::kOk},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.code, OpenWithFailure(c.failAt, c.kind)) << c.label;
    EXPECT_EQ(0, Product::watch().openHandles) << c.label;
    EXPECT_EQ(0, Product::watch().liveBlocks) << c.label;
  }
}

// A folder where a file is listed: on every platform. Left in place,
// reported, and the rest of the run goes on.
TEST(Faults, FolderNamedAsAFileIsLeftAndReported) {
  Product p;
  p.Folder().Add("before.txt");
  p.Folder().Add("dir\\inner.txt");
  p.Folder().AddFolder("empty-dir");
  p.Folder().Add("after.txt");
  p.AddLog("[FILE] \\before.txt\r\n[FILE] \\dir\r\n[FILE] \\empty-dir\r\n[FILE] \\after.txt\r\n");
  EXPECT_EQ("[" + (p / "dir") + "][" + (p / "empty-dir") + "]", Join(p.Run()));
  EXPECT_FALSE(testfs::Exists(p / "before.txt"));
  EXPECT_FALSE(testfs::Exists(p / "after.txt"));
  EXPECT_TRUE(testfs::Exists(p / "dir\\inner.txt"));
  EXPECT_TRUE(testfs::IsFolder(p / "empty-dir"));
  EXPECT_EQ(0, Product::watch().openHandles);
}

#ifdef _WIN32
// Another process holding a file open through hold-file.exe, until Release.
class CHolder {
 public:
  // share: FILE_SHARE_* flags the holder opens with.
  CHolder(const std::string& path, DWORD share) {
    std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count_);
    std::string ready = "nx-hold-ready-" + tag, release = "nx-hold-release-" + tag;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, ready.c_str());
    release_ = CreateEventA(nullptr, TRUE, FALSE, release.c_str());
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string exe(self);
    exe = exe.substr(0, exe.rfind('\\') + 1) + "hold-file.exe";
    std::string cmd = "\"" + exe + "\" \"" + path + "\" " + std::to_string(share) + " " + ready + " " + release;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      process_ = pi.hProcess;
      CloseHandle(pi.hThread);
      HANDLE both[] = {ready_, process_};
      // Ready, or ended because it could not open the file.
      WaitForMultipleObjects(2, both, FALSE, 30000);
    }
  }
  ~CHolder() {
    Release();
    CloseHandle(ready_);
    CloseHandle(release_);
  }
  // True while the other process holds the file.
  bool Holding() const {
    DWORD code = 0;
    return process_ != nullptr && WaitForSingleObject(ready_, 0) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(process_, &code) && code == STILL_ACTIVE;
  }
  void Release() {
    if (process_ == nullptr) return;
    SetEvent(release_);
    WaitForSingleObject(process_, 30000);
    CloseHandle(process_);
    process_ = nullptr;
  }

 private:
  HANDLE ready_ = nullptr, release_ = nullptr, process_ = nullptr;
  static int count_;
};
int CHolder::count_ = 0;

// Files in use by another process, read-only files, folders named as files
// and missing files together: the ones still there are left and reported,
// everything else goes. Once the other process lets go and the file is
// writable again, a second run removes them.
TEST(Faults, FilesInUseByAnotherProcessAndReadOnlyFiles) {
  Product p;
  p.Folder().Add("held.txt");
  p.Folder().Add("held-shared.txt");
  p.Folder().Add("readonly.txt");
  p.Folder().AddFolder("dir");
  p.Folder().Add("free.txt");
  p.AddShortcuts();
  SetFileAttributesA((p / "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  p.AddLog(
      "[FILE] \\held.txt\r\n[FILE] \\held-shared.txt\r\n[FILE] \\readonly.txt\r\n[FILE] \\dir\r\n"
      "[FILE] \\missing.txt\r\n[FILE] \\free.txt\r\n");
  CHolder held(p / "held.txt", FILE_SHARE_READ);
  CHolder shared(p / "held-shared.txt", FILE_SHARE_READ | FILE_SHARE_DELETE);
  ASSERT_TRUE(held.Holding());
  ASSERT_TRUE(shared.Holding());

  std::vector<std::string> left = p.Run();

  EXPECT_EQ("[" + (p / "held.txt") + "][" + (p / "readonly.txt") + "][" + (p / "dir") + "]", Join(left));
  EXPECT_TRUE(testfs::Exists(p / "held.txt"));
  EXPECT_FALSE(testfs::Exists(p / "free.txt"));
  EXPECT_TRUE(p.ShortcutsGone());
  EXPECT_EQ(0, Product::watch().openHandles);
  EXPECT_TRUE(held.Holding()) << "the other process keeps its file";

  held.Release();
  shared.Release();
  SetFileAttributesA((p / "readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  p.AddLog("[FILE] \\held.txt\r\n[FILE] \\held-shared.txt\r\n[FILE] \\readonly.txt\r\n[FILE] \\dir\r\n");
  EXPECT_EQ("[" + (p / "dir") + "]", Join(p.Run()));
  EXPECT_FALSE(testfs::Exists(p / "held.txt"));
  EXPECT_FALSE(testfs::Exists(p / "held-shared.txt"));
  EXPECT_FALSE(testfs::Exists(p / "readonly.txt"));
}

// The log itself in use without read sharing: it cannot be loaded (the
// reader's code 1), is reported, and nothing it lists is deleted; the
// folders and shortcuts still go.
TEST(Faults, LogHeldByAnotherProcess) {
  Product p;
  p.Folder().Add("a.txt");
  p.Folder().AddFolder("script");
  p.AddShortcuts();
  p.AddLog("[FILE] \\a.txt\r\n");
  CHolder holder(p / "install.log", 0);
  ASSERT_TRUE(holder.Holding());
  {
    CTextFileReader reader;
    EXPECT_EQ(CTextFileReader::kCannotOpen, reader.Open((p / "install.log").c_str()));
  }
  EXPECT_EQ("[" + (p / "install.log") + "]", Join(p.Run()));
  EXPECT_TRUE(testfs::Exists(p / "a.txt"));
  EXPECT_FALSE(testfs::Exists(p / "script"));
  EXPECT_TRUE(p.ShortcutsGone());
  EXPECT_EQ(0, Product::watch().openHandles);
}
#endif

}  // namespace
