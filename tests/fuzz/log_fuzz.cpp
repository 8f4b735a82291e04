// Fuzz target: any bytes as install.log, through the reader and the whole
// uninstall run.
//
// The run goes through the real RunUninstall with an operating-system table
// that serves the log from memory and records, instead of doing, every
// deletion, so nothing on the disk is touched and each input takes
// microseconds. Besides what the sanitizers catch, every input must keep
// these properties (a breach aborts with the input and the values seen):
//  - the reader never hands out a line longer than its buffer allows, and
//    its lines are exactly those of a plain model of the line split: a line
//    too long for the buffer yields nothing, and no part of it becomes a line;
//  - an entry's path is never longer than the text behind its line's first
//    space (or the whole line when it has none), and has no white space at
//    either end;
//  - no path that contains "uninstall.exe" in any letter case, at any byte,
//    is ever passed to DeleteFileA;
//  - the run deletes exactly the entries' paths, in log order, then the
//    shortcuts; reports exactly the deletions that failed; leaves no memory
//    block and no handle behind, also when an allocation fails part-way.
//
// Built with libFuzzer (LLVMFuzzerTestOneInput) in the fuzz build, and with
// replay_main.cpp as a plain program that runs the corpus in the tests.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/text_file_reader.h"
#include "engine/uninstall.h"
#include "framework/mbcs.h"
#include "os/os.h"

namespace {

const size_t kRunLineSize = 1024;  // the run's line buffer

// The input being checked, for the report when a property breaks.
const uint8_t* g_data = nullptr;
size_t g_size = 0;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "log_fuzz: property broken: %s\ninput (%zu bytes):", what.c_str(), g_size);
  for (size_t i = 0; i < g_size && i < 256; ++i) std::fprintf(stderr, " %02X", g_data[i]);
  std::fprintf(stderr, "%s\n", g_size > 256 ? " ..." : "");
  std::abort();
}

#define CHECK(cond, what)                           \
  do {                                              \
    if (!(cond)) Fail(std::string(#cond) + ": " + (what)); \
  } while (0)

std::string Shown(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    char hex[8];
    if (c >= 0x20 && c < 0x7F && c != '"') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out + "\"";
}

// ---- The operating-system table of a fuzz run -------------------------------

const char kModulePath[] = "C:\\Program Files\\Nolvex\\Uninstall.exe";
const char kProgramFolder[] = "C:\\Program Files\\Nolvex\\";
const char kDesktop[] = "C:\\Users\\u\\Desktop";
const char kPrograms[] = "C:\\Users\\u\\Start Menu\\Programs";
os::Handle const kLogHandle = reinterpret_cast<os::Handle>(static_cast<uintptr_t>(0x10));

struct Record {
  std::string log;                  // the file's bytes
  std::vector<std::string> deletes;  // every DeleteFileA path, in order
  std::vector<bool> deleteOk;        // what each returned
  std::vector<std::string> removedDirs;
  long liveBlocks = 0;
  long allocations = 0;
  long failAllocation = 0;  // 1-based; 0: none fails
  long openHandles = 0;
};
Record g_rec;

// True when s holds "uninstall.exe" in any ASCII letter case at any byte.
bool NamesUninstaller(const std::string& s) {
  static const char kName[] = "uninstall.exe";
  const size_t n = sizeof kName - 1;
  for (size_t i = 0; i + n <= s.size(); ++i) {
    size_t k = 0;
    while (k < n) {
      unsigned char c = static_cast<unsigned char>(s[i + k]);
      if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
      if (c != static_cast<unsigned char>(kName[k])) break;
      ++k;
    }
    if (k == n) return true;
  }
  return false;
}

// Deletion fails for about half of the paths, decided by the path alone, so
// that the run's report of what stays is exercised too.
bool PathDeletes(const char* path) {
  uint32_t h = 2166136261u;
  for (const char* p = path; *p != '\0'; ++p) h = (h ^ static_cast<unsigned char>(*p)) * 16777619u;
  return (h >> 7) & 1;
}

os::Handle FakeCreateFile(const char* path) {
  if (std::strcmp(path, kInstallLog) != 0) return nullptr;
  ++g_rec.openHandles;
  return kLogHandle;
}
uint32_t FakeGetFileSize(os::Handle h) {
  CHECK(h == kLogHandle, "size of an unknown handle");
  return static_cast<uint32_t>(g_rec.log.size());
}
bool FakeReadFile(os::Handle h, void* buffer, uint32_t size, uint32_t* read) {
  CHECK(h == kLogHandle, "read from an unknown handle");
  CHECK(size == g_rec.log.size(), "the whole file is read at once");
  std::memcpy(buffer, g_rec.log.data(), size);
  if (read != nullptr) *read = size;
  return true;
}
void FakeCloseHandle(os::Handle h) {
  CHECK(h == kLogHandle, "close of an unknown handle");
  --g_rec.openHandles;
}
uint32_t FakeModuleFileName(char* buffer, uint32_t size) {
  std::strncpy(buffer, kModulePath, size);
  return static_cast<uint32_t>(std::strlen(kModulePath));
}
bool FakeSetCurrentDirectory(const char* path) {
  CHECK(std::strcmp(path, kProgramFolder) == 0, Shown(path));
  return true;
}
os::Handle FakeLaunch(const char*, const char*) { return nullptr; }
bool FakeWait(os::Handle, uint32_t) { Fail("waited for a companion that never started"); }
bool FakeDelete(const char* path) {
  std::string p(path);
  CHECK(!NamesUninstaller(p), "passed to deletion: " + Shown(p));
  bool ok = PathDeletes(path);
  g_rec.deletes.push_back(p);
  g_rec.deleteOk.push_back(ok);
  return ok;
}
bool FakeRemoveDirectory(const char* path) {
  g_rec.removedDirs.push_back(path);
  return true;
}
bool FakeExists(const char*) { return true; }  // what failed to go is still there
bool FakeComInit() { return false; }
void FakeComUninit() { Fail("COM uninitialised without being initialised"); }
bool FakeSpecialFolder(int csidl, char* buffer) {
  std::strcpy(buffer, csidl == os::kCsidlDesktopDirectory ? kDesktop : kPrograms);
  return true;
}
void* FakeAlloc(size_t size) {
  if (++g_rec.allocations == g_rec.failAllocation) return nullptr;
  void* p = std::malloc(size);
  if (p != nullptr) ++g_rec.liveBlocks;
  return p;
}
void FakeFree(void* p) {
  --g_rec.liveBlocks;
  std::free(p);
}

void InstallTable() {
  os::Calls& c = os::Current();
  c.CreateFileA = FakeCreateFile;
  c.GetFileSize = FakeGetFileSize;
  c.ReadFile = FakeReadFile;
  c.CloseHandle = FakeCloseHandle;
  c.GetModuleFileNameA = FakeModuleFileName;
  c.SetCurrentDirectoryA = FakeSetCurrentDirectory;
  c.ShellExecuteExA = FakeLaunch;
  c.WaitForProcess = FakeWait;
  c.DeleteFileA = FakeDelete;
  c.RemoveDirectoryA = FakeRemoveDirectory;
  c.PathExists = FakeExists;
  c.CoInitialize = FakeComInit;
  c.CoUninitialize = FakeComUninit;
  c.GetSpecialFolderPath = FakeSpecialFolder;
  c.Alloc = FakeAlloc;
  c.Free = FakeFree;
}

// ---- The model --------------------------------------------------------------

struct ModelLine {
  std::string text;
  bool fits;
};

// The lines of the text as the reader must hand them out with a buffer of
// `size` bytes: the text ends at its first NUL; a line ends at CR or LF; the
// breaks behind a line are all skipped, so only a text that starts with a
// break gives an empty line.
std::vector<ModelLine> ModelLines(const std::string& log, size_t size) {
  std::string text = log.substr(0, log.find('\0'));
  std::vector<ModelLine> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    lines.push_back({line, line.size() + 1 <= size});
    pos = text.find_first_not_of("\r\n", end);
    if (pos == std::string::npos) pos = text.size();
  }
  return lines;
}

// The text behind the line's first space, stepping character by character
// (a space that is the second byte of a double-byte character is none);
// the whole line when it has no space.
std::string BehindFirstSpace(const std::string& line) {
  for (size_t i = 0; i < line.size(); i += static_cast<size_t>(mbcs::CharLength(&line[i]))) {
    if (line[i] == ' ') return line.substr(i + 1);
  }
  return line;
}

// ---- The checks -------------------------------------------------------------

// The reader alone, with a line buffer of exactly `size` bytes (a heap block
// of that size, so that AddressSanitizer sees a write past it).
void CheckReader(const std::string& log, size_t size) {
  std::vector<ModelLine> model = ModelLines(log, size);
  CTextFileReader reader;
  CHECK(reader.Open(kInstallLog) == CTextFileReader::kOk, "the log opens");
  char* line = static_cast<char*>(std::malloc(size == 0 ? 1 : size));
  size_t got = 0;
  for (;;) {
    if (size > 0) std::memset(line, 'Z', size);
    int r = reader.ReadLine(line, size);
    if (r == CTextFileReader::kEnd) break;
    CHECK(got < model.size(), "a line more than the model's, buffer " + std::to_string(size));
    const ModelLine& m = model[got];
    if (m.fits) {
      CHECK(r == CTextFileReader::kLine, "line " + std::to_string(got) + " " + Shown(m.text) + " fits");
      CHECK(std::memchr(line, '\0', size) != nullptr, "line NUL-terminated");
      CHECK(std::strlen(line) < size, "line within its buffer");
      CHECK(line == m.text, "line " + std::to_string(got) + ": " + Shown(line) + " expected " + Shown(m.text));
    } else {
      CHECK(r == CTextFileReader::kTooLong,
            "line " + std::to_string(got) + " of " + std::to_string(m.text.size()) + " bytes, buffer " +
                std::to_string(size) + ", result " + std::to_string(r));
      if (size > 0) CHECK(line[0] == '\0', "no part of a too-long line is handed out");
    }
    ++got;
  }
  CHECK(got == model.size(), std::to_string(got) + " lines read, model " + std::to_string(model.size()));
  // At the end the buffer is left as it was.
  if (size > 0) {
    std::memset(line, 'Z', size);
    CHECK(reader.ReadLine(line, size) == CTextFileReader::kEnd && line[0] == 'Z', "end leaves the buffer");
  }
  std::free(line);
}

// The entries of the log as the run must see them; what it must delete.
std::vector<std::string> ExpectedDeletions(const std::string& log) {
  std::vector<std::string> paths;
  for (const ModelLine& m : ModelLines(log, kRunLineSize)) {
    if (!m.fits || m.text.compare(0, 6, "[FILE]") != 0) continue;
    CString entry = EntryPath(m.text.c_str());
    std::string path(entry.GetString(), static_cast<size_t>(entry.GetLength()));
    std::string behind = BehindFirstSpace(m.text);
    CHECK(path.size() <= behind.size(), Shown(path) + " from " + Shown(m.text));
    CHECK(std::strlen(entry) == path.size(), "no NUL inside the entry " + Shown(path));
    if (!path.empty()) {
      // Character by character: a space that is the second byte of a
      // double-byte character is part of that character, not white space.
      size_t last = 0;
      for (size_t i = 0; i < path.size(); i += static_cast<size_t>(mbcs::CharLength(&path[i]))) last = i;
      CHECK(!mbcs::IsSpace(static_cast<unsigned char>(path.front())), "leading white space " + Shown(path));
      CHECK(mbcs::CharLength(&path[last]) == 2 || !mbcs::IsSpace(static_cast<unsigned char>(path[last])),
            "trailing white space " + Shown(path));
    }
    CHECK(IsSparedEntry(entry) == NamesUninstaller(path), Shown(path));
    if (!path.empty() && !NamesUninstaller(path)) paths.push_back(path);
  }
  return paths;
}

void CheckRun(const std::string& log) {
  std::vector<std::string> expected = ExpectedDeletions(log);
  std::string shortcutFolder = std::string(kPrograms) + "\\Nolvex\xCE\xC4\xB1\xBE\xB1\xE0\xBC\xAD\xC6\xF7";
  const size_t shortcuts = 3;

  g_rec.deletes.clear();
  g_rec.deleteOk.clear();
  g_rec.removedDirs.clear();
  g_rec.allocations = 0;
  g_rec.failAllocation = 0;
  long allocations = 0;
  {
    CLeftBehind left;
    RunUninstall(left);
    allocations = g_rec.allocations;
    CHECK(g_rec.deletes.size() == expected.size() + shortcuts,
          std::to_string(g_rec.deletes.size()) + " deletions, expected " + std::to_string(expected.size()) + " + 3");
    int failed = 0;
    for (size_t i = 0; i < g_rec.deletes.size(); ++i) {
      if (i < expected.size()) CHECK(g_rec.deletes[i] == expected[i], Shown(g_rec.deletes[i]) + " vs " + Shown(expected[i]));
      if (!g_rec.deleteOk[i]) ++failed;
    }
    CHECK(left.GetSize() == failed, std::to_string(left.GetSize()) + " left behind, " + std::to_string(failed) + " failed");
    CHECK(g_rec.removedDirs.size() == 4 && g_rec.removedDirs[0] == "data" && g_rec.removedDirs[1] == "help" &&
              g_rec.removedDirs[2] == "script" && g_rec.removedDirs[3] == shortcutFolder,
          std::to_string(g_rec.removedDirs.size()) + " folders removed");
  }
  CHECK(g_rec.liveBlocks == 0, std::to_string(g_rec.liveBlocks) + " blocks live after the run");
  CHECK(g_rec.openHandles == 0, std::to_string(g_rec.openHandles) + " handles open after the run");

  // Again with one allocation failing, chosen by the input: the failure
  // passes out, nothing leaks, and no deletion follows it.
  if (allocations == 0) return;
  uint32_t h = 0;
  for (unsigned char c : log) h = h * 31 + c;
  g_rec.deletes.clear();
  g_rec.deleteOk.clear();
  g_rec.removedDirs.clear();
  g_rec.allocations = 0;
  g_rec.failAllocation = 1 + static_cast<long>(h % static_cast<uint32_t>(allocations));
  bool threw = false;
  size_t deletesAtFailure = 0;
  try {
    CLeftBehind left;
    RunUninstall(left);
  } catch (const CMemoryException&) {
    threw = true;
    deletesAtFailure = g_rec.deletes.size();
  }
  CHECK(threw, "allocation " + std::to_string(g_rec.failAllocation) + " of " + std::to_string(allocations) +
                   " failed without the failure passing out");
  CHECK(g_rec.deletes.size() == deletesAtFailure, "deleted after the failure");
  for (size_t i = 0; i < g_rec.deletes.size() && i < expected.size(); ++i) CHECK(g_rec.deletes[i] == expected[i], Shown(g_rec.deletes[i]));
  CHECK(g_rec.liveBlocks == 0, std::to_string(g_rec.liveBlocks) + " blocks live after out of memory at " +
                                   std::to_string(g_rec.failAllocation));
  CHECK(g_rec.openHandles == 0, "handles open after out of memory");
  g_rec.failAllocation = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool installed = (InstallTable(), true);
  (void)installed;
  g_data = data;
  g_size = size;
  g_rec.log.assign(reinterpret_cast<const char*>(data), size);

  CheckReader(g_rec.log, kRunLineSize);
  // A small buffer, picked by the input, puts the too-long path within
  // reach of short inputs; 0 and 1 are the degenerate buffers.
  CheckReader(g_rec.log, size == 0 ? 0 : data[0] % 48);
  CheckRun(g_rec.log);
  return 0;
}
