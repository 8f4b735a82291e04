// A product folder to uninstall, with the run's calls watched.
//
// Under Windows the run uses the real calls, the Wine user's real desktop
// and Start menu, and the real stand-in companion copied into the folder;
// only the program's own path is pointed at the product folder. On Linux
// the special folders and the companion launch are stood in for.
#pragma once

#include <string>
#include <vector>

#include "engine/uninstall.h"
#include "os/os.h"
#include "tests/support/testfs.h"

namespace runfixture {

// A product folder name with a character whose second byte is 0x5C.
extern const char kProductLeaf[];
extern const char kDesktopLink[];      // "Nolvex文本编辑器.lnk"
extern const char kMenuFolder[];       // "Nolvex文本编辑器"
extern const char kMenuUninstallLink[];  // "卸载.lnk"

struct Watch {
  std::vector<std::string> deleted;   // DeleteFileA calls that succeeded
  std::vector<std::string> attempts;  // every DeleteFileA call
  std::vector<std::string> launched;  // ShellExecuteExA file + " " + parameters
  int waits = 0;
  unsigned waitedMs = 0;
  int comInits = 0, comUninits = 0;
  long liveBlocks = 0;   // allocations not yet freed
  long allocations = 0;  // allocations made
  long failAllocation = 0;  // 1-based number of the allocation to fail; 0: none
  long openHandles = 0;  // file and process handles not yet closed
};

// "[a][b]": a list in one line, for comparisons that show every item.
std::string Join(const std::vector<std::string>& items);

class Product {
 public:
  Product();
  ~Product();
  Product(const Product&) = delete;
  Product& operator=(const Product&) = delete;

  testfs::ProductFolder& Folder() { return folder_; }
  std::string operator/(const std::string& relative) const { return folder_ / relative; }
  const std::string& Desktop() const { return desktop_; }
  const std::string& Programs() const { return programs_; }
  void AddLog(const std::string& text) { folder_.Add("install.log", text); }
  void AddShortcuts();
  bool ShortcutsGone() const;
  // The companion stand-in in the folder (Windows only); its record.
  void AddCompanion();
  std::string CompanionRecord() const;

  // Runs the uninstall; the items it left behind.
  std::vector<std::string> Run();

  static Watch& watch();

 private:
  testfs::ProductFolder folder_;
  os::ScopedCalls calls_;
  std::string desktop_, programs_;
};

}  // namespace runfixture
