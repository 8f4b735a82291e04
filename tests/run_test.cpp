// The whole uninstall run on a real product folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
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


TEST(Run, RemovesWhatTheLogLists) {
  Product p;
  // Lowers the case of what it reads, so names are made in lower case, as
  // the POSIX stand-in's file system is case-sensitive.
  // A full path; on Linux, where full paths start with a slash, in the
  // "\\path" form that names a path from the drive's root.
#ifdef _WIN32
  const std::string absolute = p / "my notes.txt";
#else
  const std::string absolute = "\\" + (p / "my notes.txt");
#endif
  p.Folder().Add("data\\a.txt");
  p.Folder().Add("data\\unlisted.txt");
  p.Folder().Add("help\\x.chm");
  p.Folder().AddFolder("script");
  p.Folder().Add("my notes.txt");
  p.Folder().Add("\x81\\\xB1\xE0.txt");  // a name with a 0x5C second byte
  p.Folder().Add("a.txt");
  p.Folder().Add("keep.txt");
  p.Folder().Add("uninstall.exe");
  p.Folder().Add("old\\myuninstall.exe.bak");
  p.Folder().Add("twice.txt");
  p.Folder().Add("later.txt");
  p.AddShortcuts();
  p.AddLog(
      "[FILE] \\data\\a.txt\r\n"
      "[FILE] " + absolute + "\r\n"
      "[FILE] \\help\\x.chm\t  \r\n"
      "[FILE] \\\x81\\\xB1\xE0.TXT\n"
      "[FILE] \\Uninstall.EXE\r\n"
      "[FILE] \\old\\myuninstall.exe.bak\r\n"
      "[file] \\keep.txt\r\n"
      "FILE \\keep.txt\r\n"
      " [FILE] \\keep.txt\r\n"
      "[FILES] \\keep.txt\r\n"
      "[FILE]\\keep.txt\r\n"
      "[FILE] \\twice.txt\r\n"
      "[FILE] \\twice.txt\r\n"
      "[FILE] \\install.log\r\n"
      "\r\n\r\n"
      "[FILE] \\later.txt\r\n"
      "[FILE] \\missing.txt\r\n"
      "[FILE] \\a.txt");

  std::vector<std::string> left = p.Run();

  EXPECT_EQ("", Join(left)) << "nothing should be left behind";
  struct Item {
    const char* path;
    bool gone;
  } items[] = {
      {"data\\a.txt", true},         {"my notes.txt", true},  {"help\\x.chm", true},
      {"\x81\\\xB1\xE0.txt", true},  {"a.txt", true},         {"twice.txt", true},
      {"install.log", true},         {"later.txt", true},     {"help", true},
      {"script", true},              {"keep.txt", false},     {"uninstall.exe", false},
      {"old\\myuninstall.exe.bak", false}, {"data\\unlisted.txt", false}, {"data", false},
  };
  for (const Item& i : items) EXPECT_EQ(i.gone, !testfs::Exists(p / i.path)) << i.path;
  EXPECT_TRUE(p.ShortcutsGone()) << "desktop " << p.Desktop() << ", programs " << p.Programs();
  EXPECT_TRUE(testfs::Exists(p.Folder().Path())) << "the product folder itself stays";
  ASSERT_EQ(1u, Product::watch().launched.size());
  EXPECT_EQ(p / "nxedit.exe unreg", Product::watch().launched[0]);
  EXPECT_EQ(0, Product::watch().liveBlocks);
  EXPECT_EQ(0, Product::watch().openHandles);
  EXPECT_EQ(Product::watch().comInits, Product::watch().comUninits);
}

TEST(Run, WithoutALogStillRemovesFoldersAndShortcuts) {
  Product p;
  p.Folder().AddFolder("data");
  p.Folder().AddFolder("help");
  p.Folder().AddFolder("script");
  p.Folder().Add("data2\\x.txt");
  p.AddShortcuts();
  EXPECT_EQ("", Join(p.Run())) << "a missing log is no failure";
  EXPECT_FALSE(testfs::Exists(p / "data"));
  EXPECT_FALSE(testfs::Exists(p / "help"));
  EXPECT_FALSE(testfs::Exists(p / "script"));
  EXPECT_TRUE(testfs::Exists(p / "data2\\x.txt"));
  EXPECT_TRUE(p.ShortcutsGone());
}

TEST(Run, ReportsWhatItCouldNotDelete) {
  Product p;
  p.Folder().Add("dir\\inner.txt");
  p.Folder().Add("fine.txt");
  p.AddShortcuts();
  // A shortcut that cannot go: a folder where the file should be.
  testfs::RemoveTree(p.Programs() + "\\" + runfixture::kMenuFolder + "\\" + runfixture::kMenuUninstallLink);
  testfs::MakeFolder(p.Programs() + "\\" + runfixture::kMenuFolder + "\\" + runfixture::kMenuUninstallLink);
  p.AddLog("[FILE] \\dir\r\n[FILE] \\gone.txt\r\n[FILE] \\fine.txt\r\n");

  std::vector<std::string> left = p.Run();

  std::vector<std::string> expected = {
      p / "dir", p.Programs() + "\\" + runfixture::kMenuFolder + "\\" + runfixture::kMenuUninstallLink};
  EXPECT_EQ(Join(expected), Join(left));
  EXPECT_FALSE(testfs::Exists(p / "fine.txt"));
  EXPECT_TRUE(testfs::Exists(p / "dir\\inner.txt"));
  EXPECT_FALSE(testfs::Exists(p.Desktop() + "\\" + runfixture::kDesktopLink));
}

// Every way the log can fail to load: reported, and nothing listed deleted.
os::Handle FailOpen(const char*) { return nullptr; }
uint32_t FailSize(os::Handle) { return os::kInvalidFileSize; }
bool FailRead(os::Handle, void*, uint32_t, uint32_t*) { return false; }

TEST(Run, LogThatCannotBeLoadedIsReported) {
  struct Case {
    const char* label;
    void (*inject)(os::Calls&);
    int code;
  } cases[] = {
      {"open", [](os::Calls& c) { c.CreateFileA = FailOpen; }, 1},
      {"size", [](os::Calls& c) { c.GetFileSize = FailSize; }, 2},
      {"read", [](os::Calls& c) { c.ReadFile = FailRead; }, 3},
  };
  for (const Case& c : cases) {
    Product p;
    p.Folder().Add("a.txt");
    p.AddLog("[FILE] \\a.txt\r\n");
    {
      os::ScopedCalls scope;
      c.inject(os::Current());
      CTextFileReader reader;
      EXPECT_EQ(c.code, reader.Open((p / "install.log").c_str())) << c.label;
      char line[64];
      EXPECT_EQ(1, reader.FindLine("[FILE]", line, sizeof line)) << c.label;
    }
    os::ScopedCalls scope;
    c.inject(os::Current());
    EXPECT_EQ("[" + (p / "install.log") + "]", Join(p.Run())) << c.label;
    EXPECT_TRUE(testfs::Exists(p / "a.txt")) << c.label;
    EXPECT_EQ(0, Product::watch().openHandles) << c.label;
  }
}

bool NoFolder(int, char*) { return false; }
// A desktop path that leaves no room for the shortcut's name; no Start menu.
bool LongFolder(int csidl, char* buffer) {
  if (csidl != os::kCsidlDesktopDirectory) return false;
  std::string path = "C:\\" + std::string(240, 'd');
  std::strcpy(buffer, path.c_str());
  return true;
}

TEST(Run, ShortcutsAreSkippedWhenTheirFolderIsUnknownOrTooLong) {
  struct Case {
    const char* label;
    bool (*folder)(int, char*);
  } cases[] = {{"look-up fails", NoFolder}, {"desktop path too long", LongFolder}};
  for (const Case& c : cases) {
    Product p;
    p.AddShortcuts();
    os::Current().GetSpecialFolderPath = c.folder;
    EXPECT_EQ("", Join(p.Run())) << c.label;
    for (const std::string& a : Product::watch().attempts) {
      EXPECT_NE('\\', a[0]) << c.label << ": never a path at the drive root: " << a;
      EXPECT_EQ(std::string::npos, a.find("lnk")) << c.label << ": " << a;
    }
    EXPECT_FALSE(p.ShortcutsGone()) << c.label;
  }
}

bool NoCurrentDirectory(const char*) { return false; }
uint32_t NoModulePath(char*, uint32_t) { return 0; }

TEST(Run, UnknownProductFolderTouchesNothingRelative) {
  struct Case {
    const char* label;
    void (*inject)(os::Calls&);
  } cases[] = {
      {"folder cannot be made current", [](os::Calls& c) { c.SetCurrentDirectoryA = NoCurrentDirectory; }},
      {"program path unknown", [](os::Calls& c) { c.GetModuleFileNameA = NoModulePath; }},
  };
  for (const Case& c : cases) {
    Product p;
    p.Folder().Add("a.txt");
    p.Folder().AddFolder("data");
    p.AddLog("[FILE] \\a.txt\r\n");
    // What the current folder holds must not be touched either.
    testfs::ChangeDirectory(p.Folder().Path());
    c.inject(os::Current());
    std::vector<std::string> left = p.Run();
    EXPECT_EQ(1u, left.size()) << c.label << ": " << Join(left);
    EXPECT_TRUE(testfs::Exists(p / "a.txt")) << c.label;
    EXPECT_TRUE(testfs::Exists(p / "data")) << c.label;
    EXPECT_TRUE(Product::watch().launched.empty()) << c.label;
  }
}

TEST(Run, ComInitialisationIsPairedOnlyWhenItSucceeded) {
  Product p;
  p.Run();
#ifdef _WIN32
  EXPECT_EQ(1, Product::watch().comInits);
#endif
  EXPECT_EQ(Product::watch().comInits, Product::watch().comUninits);
}

// Out of memory at each allocation of a whole run in turn: the failure
// passes out of the run, nothing leaks, nothing is deleted after it, and a
// run without failure then completes the uninstall.
TEST(Run, OutOfMemoryAtEveryAllocation) {
  long points = 0;
  for (long fail = 1;; ++fail) {
    Product p;
    p.Folder().Add("data\\a.txt");
    p.Folder().Add("b.txt");
    p.Folder().Add("c.txt");
    p.Folder().AddFolder("locked");  // a folder named as a file: left behind
    p.AddShortcuts();
    p.AddLog("[FILE] \\data\\a.txt\r\n[FILE] \\b.txt\r\n[FILE] \\locked\r\n[FILE] \\c.txt\r\n");
    Product::watch().failAllocation = fail;
    bool threw = false;
    size_t deletedBefore = 0;
    try {
      p.Run();
    } catch (const CMemoryException&) {
      threw = true;
    }
    deletedBefore = Product::watch().deleted.size();
    EXPECT_EQ(0, Product::watch().liveBlocks) << "allocation " << fail;
    EXPECT_EQ(0, Product::watch().openHandles) << "allocation " << fail;
    EXPECT_EQ(Product::watch().comInits, Product::watch().comUninits) << "allocation " << fail;
    if (!threw) {
      EXPECT_GT(fail, 5) << "a run makes several allocations";
      break;
    }
    ++points;
    // Deletions stop at the failure: every one made was before it, and the
    // file system agrees with the record.
    for (const std::string& d : Product::watch().deleted) EXPECT_FALSE(testfs::Exists(d)) << d;
    // Then the run again, with memory: everything goes.
    Product::watch().failAllocation = 0;
    std::vector<std::string> left = p.Run();
    EXPECT_EQ("[" + (p / "locked") + "]", Join(left)) << "allocation " << fail;
    EXPECT_FALSE(testfs::Exists(p / "c.txt")) << "allocation " << fail;
    EXPECT_TRUE(p.ShortcutsGone()) << "allocation " << fail;
    EXPECT_GE(Product::watch().deleted.size(), deletedBefore);
  }
  std::printf("allocation points exercised: %ld\n", points);
}

#ifdef _WIN32
// The real companion: started with "unreg" in the product folder, and
// waited for before anything is deleted, so its own files can go.
TEST(Run, WaitsForTheCompanionBeforeDeleting) {
  Product p;
  p.AddCompanion();
  p.AddLog("[FILE] \\nxedit.exe\r\n");
  SetEnvironmentVariableA("NXEDIT_STANDIN_MS", "1500");
  std::vector<std::string> left = p.Run();
  SetEnvironmentVariableA("NXEDIT_STANDIN_MS", nullptr);
  EXPECT_EQ("", Join(left));
  EXPECT_FALSE(testfs::Exists(p / "nxedit.exe")) << "deleted after the companion ended";
  std::string record = p.CompanionRecord();
  EXPECT_NE(std::string::npos, record.find("unreg")) << record;
  std::string folder = p.Folder().Path();
  folder.pop_back();
  EXPECT_NE(std::string::npos, record.find("cwd=" + folder)) << record;
  EXPECT_EQ(1, Product::watch().waits);
  EXPECT_EQ(10000u, Product::watch().waitedMs);
}

TEST(Run, FilesInUseAndReadOnlyFilesAreLeftAndReported) {
  Product p;
  p.Folder().Add("held.txt");
  p.Folder().Add("readonly.txt");
  p.Folder().Add("free.txt");
  SetFileAttributesA((p / "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  p.AddLog("[FILE] \\held.txt\r\n[FILE] \\readonly.txt\r\n[FILE] \\free.txt\r\n");
  HANDLE held = CreateFileA((p / "held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  std::vector<std::string> left = p.Run();
  CloseHandle(held);
  EXPECT_EQ("[" + (p / "held.txt") + "][" + (p / "readonly.txt") + "]", Join(left));
  EXPECT_FALSE(testfs::Exists(p / "free.txt"));
}

// What counts as still there when a deletion failed: only Windows' word that
// the name is absent makes an item gone.
TEST(Run, PathExistsIsFalseOnlyForAbsentNames) {
  testfs::ProductFolder folder("exists");
  folder.Add("file.txt");
  folder.AddFolder("sub");
  struct Case {
    const char* label;
    std::string path;
    bool exists;
  } cases[] = {
      {"file", folder / "file.txt", true},
      {"folder", folder / "sub", true},
      {"missing file", folder / "none.txt", false},
      {"missing folder on the way", folder / "none\\x.txt", false},
      {"invalid name", folder / "a<b>.txt", false},
      {"empty", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.exists, os::Backend().PathExists(c.path.c_str())) << c.label << ": " << c.path;
}

TEST(Run, MissingCompanionIsNotWaitedFor) {
  Product p;
  p.Folder().Add("a.txt");
  p.AddLog("[FILE] \\a.txt\r\n");
  EXPECT_EQ("", Join(p.Run()));
  EXPECT_EQ(0, Product::watch().waits);
  EXPECT_FALSE(testfs::Exists(p / "a.txt"));
}
#endif

}  // namespace
