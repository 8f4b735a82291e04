// The uninstall run.
#include "engine/uninstall.h"

#include <cstring>

#include "engine/text_file_reader.h"
#include "os/os.h"

const char kInstallLog[] = "install.log";
const char kCompanion[] = "nxedit.exe";
const char kCompanionArgs[] = "unreg";
const char kFileEntryPrefix[] = "[FILE]";
const char kSparedName[] = "uninstall.exe";

namespace {

// "\Nolvex文本编辑器.lnk", "%s\Nolvex文本编辑器\Nolvex文本编辑器.lnk",
// "%s\Nolvex文本编辑器\卸载.lnk" and "%s\Nolvex文本编辑器", in code page 936.
#define NX_PRODUCT "Nolvex\xCE\xC4\xB1\xBE\xB1\xE0\xBC\xAD\xC6\xF7"
const char kDesktopLink[] = "\\" NX_PRODUCT ".lnk";
const char kMenuProductLink[] = "%s\\" NX_PRODUCT "\\" NX_PRODUCT ".lnk";
const char kMenuUninstallLink[] = "%s\\" NX_PRODUCT "\\\xD0\xB6\xD4\xD8.lnk";
const char kMenuFolder[] = "%s\\" NX_PRODUCT;
#undef NX_PRODUCT

const char* const kSubFolders[] = {"data", "help", "script"};

const size_t kLineSize = 1024;

// Deletes one file; when that fails and the file is still there, notes it.
// A file that was already gone is no failure.
void DeleteNoting(const char* path, const char* shownAs, CLeftBehind& leftBehind) {
  if (!os::Current().DeleteFileA(path) && os::Current().PathExists(path)) leftBehind.Add(shownAs);
}

// A path that a user can find: entries relative to the product folder are
// shown below it.
CString Shown(const CString& programFolder, const CString& entry) {
  bool rooted = entry.GetAt(0) == '\\' || (entry.GetLength() >= 2 && entry.GetAt(1) == ':');
  return rooted ? entry : programFolder + entry;
}

void LaunchCompanion(const CString& programFolder) {
  CString companion = programFolder + kCompanion;
  os::CHandle process(os::Current().ShellExecuteExA(companion, kCompanionArgs));
  // The companion unregisters the product and may hold its files open
  // meanwhile (its own executable among them): let it finish before deleting.
  if (process.IsOpen()) os::Current().WaitForProcess(process.Get(), kCompanionWaitMs);
}

// COM for the shell's folder look-ups; uninitialised only if initialised.
class CComScope {
 public:
  CComScope() : initialised_(os::Current().CoInitialize()) {}
  ~CComScope() {
    if (initialised_) os::Current().CoUninitialize();
  }
  CComScope(const CComScope&) = delete;
  CComScope& operator=(const CComScope&) = delete;

 private:
  bool initialised_;
};

}  // namespace

bool IsSparedEntry(const char* entry) {
  // Matched at every byte and in any letter case, not only where a
  // character starts in the lower-cased entry: lower-casing stops at a byte
  // pair that is no character, and the uninstaller must be spared even then.
  size_t n = std::strlen(kSparedName);
  for (const char* p = entry; *p != '\0'; ++p) {
    size_t i = 0;
    while (i < n && p[i] != '\0') {
      char c = p[i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
      if (c != kSparedName[i]) break;
      ++i;
    }
    if (i == n) return true;
  }
  return false;
}

CString EntryPath(const char* line) {
  CString entry(line);
  // Everything behind the first space; the whole line when there is none.
  int space = entry.Find(' ');
  entry = entry.Right(entry.GetLength() - space - 1);
  // A backslash right behind the space makes the path relative to the
  // product folder.
  if (entry.GetAt(0) == '\\') entry.SetAt(0, ' ');
  entry.MakeLower();
  entry.TrimLeft();
  entry.TrimRight();
  return entry;
}

void RunUninstall(CLeftBehind& leftBehind) {
  char modulePath[os::kMaxPath] = {};
  uint32_t length = os::Current().GetModuleFileNameA(modulePath, sizeof modulePath);
  CString programFolder;
  if (length > 0 && length < sizeof modulePath) {
    CString path(modulePath);
    programFolder = path.Left(path.ReverseFind('\\') + 1);
  }
  // Every relative path below resolves against the product folder. If it
  // is unknown or cannot be made current, those paths would land elsewhere:
  // then nothing relative is touched at all.
  bool inProgramFolder = !programFolder.IsEmpty() && os::Current().SetCurrentDirectoryA(programFolder);

  if (inProgramFolder) {
    LaunchCompanion(programFolder);

    CTextFileReader reader;
    int opened = reader.Open(kInstallLog);
    if (opened == CTextFileReader::kOk) {
      char line[kLineSize];
      while (reader.FindLine(kFileEntryPrefix, line, sizeof line) == 0) {
        CString entry = EntryPath(line);
        if (entry.IsEmpty() || IsSparedEntry(entry)) continue;
        DeleteNoting(entry, Shown(programFolder, entry), leftBehind);
      }
    } else if (opened != CTextFileReader::kCannotOpen || os::Current().PathExists(kInstallLog)) {
      leftBehind.Add(programFolder + kInstallLog);
    }

    for (const char* folder : kSubFolders) os::Current().RemoveDirectoryA(folder);
  } else {
    leftBehind.Add(programFolder.IsEmpty() ? CString(kInstallLog) : programFolder + kInstallLog);
  }

  RemoveShortcuts(leftBehind);
}

int RemoveShortcuts(CLeftBehind& leftBehind) {
  CComScope com;
  char folder[os::kMaxPath];

  // A failed look-up skips what depends on it: a path built on an empty
  // folder would name the root of the current drive.
  std::memset(folder, 0, sizeof folder);
  if (os::Current().GetSpecialFolderPath(os::kCsidlDesktopDirectory, folder)) {
    char link[os::kMaxPath];
    if (std::strlen(folder) + std::strlen(kDesktopLink) < sizeof link) {
      std::strcpy(link, folder);
      std::strcat(link, kDesktopLink);
      DeleteNoting(link, link, leftBehind);
    }
  }

  std::memset(folder, 0, sizeof folder);
  if (os::Current().GetSpecialFolderPath(os::kCsidlPrograms, folder)) {
    CString path;
    path.Format(kMenuProductLink, folder);
    DeleteNoting(path, path, leftBehind);
    path.Format(kMenuUninstallLink, folder);
    DeleteNoting(path, path, leftBehind);
    path.Format(kMenuFolder, folder);
    os::Current().RemoveDirectoryA(path);
  }
  return 0;
}
