// sample-install: lays out an installed Nolvex文本编辑器 for the demo and the
// end-to-end tests, as the product's installer would.
//
//   sample-install.exe FOLDER [--no-log] [--uninstaller NAME]
//
// Copies Uninstall.exe (saved as NAME, default Uninstall.exe) and the nxedit.exe
// stand-in from its own folder into FOLDER, writes the product's files and
// folders, an install.log listing them, and real shell links: on the
// desktop, and in a Start-menu folder with the product's and the
// uninstaller's shortcut. Prints each path it made, one a line (code page
// 936 bytes). Exit code 0 when everything was made.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

#define NX_PRODUCT "Nolvex\xCE\xC4\xB1\xBE\xB1\xE0\xBC\xAD\xC6\xF7"
const char kProduct[] = NX_PRODUCT;
const char kUninstallLink[] = "\xD0\xB6\xD4\xD8.lnk";  // "卸载.lnk"

// The product's own files, relative to its folder.
const char* const kFiles[] = {
    "readme.txt",
    "nxedit.ini",
    "license.txt",
    "data\\dict.dat",
    "data\\\xB4\xCA\xBF\xE2.dat",  // "词库.dat"
    "data\\default.theme",
    "help\\manual.chm",
    "help\\index.html",
    "script\\macros.js",
    "script\\util.js",
};

bool g_ok = true;

std::string ParentOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

void MakeFolders(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
}

void Write(const std::string& path, const std::string& text) {
  MakeFolders(ParentOf(path));
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    g_ok = false;
    return;
  }
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  std::printf("%s\n", path.c_str());
}

void Link(const std::string& path, const std::string& target, const std::string& folder) {
  MakeFolders(ParentOf(path));
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    g_ok = false;
    return;
  }
  link->SetPath(target.c_str());
  link->SetWorkingDirectory(folder.c_str());
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[MAX_PATH * 2];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 2);
    if (FAILED(file->Save(wide, TRUE))) g_ok = false;
    file->Release();
  } else {
    g_ok = false;
  }
  link->Release();
  std::printf("%s\n", path.c_str());
}

std::string Special(int csidl) {
  char path[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: sample-install FOLDER [--no-log] [--uninstaller NAME]\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '\\') folder += '\\';
  bool log = true;
  std::string uninstaller = "Uninstall.exe";
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-log") == 0) log = false;
    if (std::strcmp(argv[i], "--uninstaller") == 0 && i + 1 < argc) uninstaller = argv[++i];
  }

  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string here = ParentOf(self) + "\\";
  MakeFolders(folder.substr(0, folder.size() - 1));
  for (const char* program : {"Uninstall.exe", "nxedit.exe"}) {
    std::string to = folder + (std::strcmp(program, "Uninstall.exe") == 0 ? uninstaller : program);
    if (!CopyFileA((here + program).c_str(), to.c_str(), FALSE)) g_ok = false;
    std::printf("%s\n", to.c_str());
  }
  std::string text = "[INFO] " NX_PRODUCT " 1.0\r\n[DIR] " + folder.substr(0, folder.size() - 1) + "\r\n";
  // The installer knows its uninstaller as Uninstall.exe, whatever the copy
  // in the folder is called.
  text += "[FILE] \\nxedit.exe\r\n[FILE] \\Uninstall.exe\r\n";
  for (const char* f : kFiles) {
    Write(folder + f, std::string("sample: ") + f + "\r\n");
    text += std::string("[FILE] \\") + f + "\r\n";
  }
  // The installer lists its own log last, so that it goes too.
  text += "[FILE] \\install.log\r\n";
  if (log) Write(folder + "install.log", text);

  CoInitialize(nullptr);
  Link(Special(CSIDL_DESKTOPDIRECTORY) + "\\" + kProduct + ".lnk", folder + "nxedit.exe", folder);
  std::string menu = Special(CSIDL_PROGRAMS) + "\\" + kProduct + "\\";
  Link(menu + kProduct + ".lnk", folder + "nxedit.exe", folder);
  Link(menu + kUninstallLink, folder + uninstaller, folder);
  CoUninitialize();
  return g_ok ? 0 : 1;
}
