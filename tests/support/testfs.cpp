// Test files and folders: Win32 or POSIX.
#include "tests/support/testfs.h"

#include "framework/mbcs.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace testfs {
namespace {

// Positions of the backslashes that separate folders: never the second byte
// of a double-byte character.
std::vector<size_t> Separators(const std::string& path) {
  std::vector<size_t> at;
  for (size_t i = 0; i < path.size(); i += static_cast<size_t>(mbcs::CharLength(&path[i]))) {
    if (path[i] == '\\') at.push_back(i);
  }
  return at;
}

size_t LastSeparator(const std::string& path) {
  std::vector<size_t> at = Separators(path);
  return at.empty() ? std::string::npos : at.back();
}

#ifdef _WIN32
const std::string& Native(const std::string& path) { return path; }
#else
std::string Native(const std::string& path) {
  std::string p = path;
  for (size_t i : Separators(p)) p[i] = '/';
  return p;
}
#endif

int g_counter = 0;

}  // namespace

std::string MakeTempFolder(const std::string& leaf) {
#ifdef _WIN32
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string base = std::string(temp) + "nxtest-" + std::to_string(GetCurrentProcessId()) + "-";
#else
  const char* tmp = getenv("TMPDIR");
  std::string base = std::string(tmp != nullptr ? tmp : "/tmp") + "/nxtest-" + std::to_string(getpid()) + "-";
  for (char& c : base) {
    if (c == '/') c = '\\';
  }
#endif
  std::string path = base + std::to_string(++g_counter) + "\\" + leaf;
  RemoveTree(path);
  MakeFolder(path);
  return path + "\\";
}

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(Native(path).c_str(), "wb");
  if (f == nullptr) throw std::runtime_error("cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string ReadFile(const std::string& path) {
  FILE* f = std::fopen(Native(path).c_str(), "rb");
  if (f == nullptr) return std::string();
  std::string bytes;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

void MakeFolder(const std::string& path) {
  // Every folder on the way, as mkdir -p.
  std::vector<size_t> ends = Separators(path);
  ends.push_back(path.size());
  for (size_t i : ends) {
    {
      std::string part = path.substr(0, i);
      if (part.empty() || part.back() == ':' || Exists(part)) continue;
#ifdef _WIN32
      CreateDirectoryA(part.c_str(), nullptr);
#else
      mkdir(Native(part).c_str(), 0755);
#endif
    }
  }
}

bool Exists(const std::string& path) {
#ifdef _WIN32
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
  struct stat st;
  return stat(Native(path).c_str(), &st) == 0;
#endif
}

bool IsFolder(const std::string& path) {
#ifdef _WIN32
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
  struct stat st;
  return stat(Native(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

void RemoveTree(const std::string& path) {
  std::string dir = path;
  while (!dir.empty() && dir.back() == '\\') dir.pop_back();
  if (!IsFolder(dir)) {
#ifdef _WIN32
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(dir.c_str());
#else
    unlink(Native(dir).c_str());
#endif
    return;
  }
#ifdef _WIN32
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") RemoveTree(dir + "\\" + name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
#else
  DIR* d = opendir(Native(dir).c_str());
  if (d != nullptr) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name != "." && name != "..") RemoveTree(dir + "\\" + name);
    }
    closedir(d);
  }
  rmdir(Native(dir).c_str());
#endif
}

std::string CurrentDirectory() {
#ifdef _WIN32
  char buffer[MAX_PATH * 2] = {};
  GetCurrentDirectoryA(sizeof buffer, buffer);
  return buffer;
#else
  char buffer[4096] = {};
  if (getcwd(buffer, sizeof buffer) == nullptr) return std::string();
  return buffer;
#endif
}

void ChangeDirectory(const std::string& path) {
#ifdef _WIN32
  SetCurrentDirectoryA(path.c_str());
#else
  if (chdir(Native(path).c_str()) != 0) return;
#endif
}

ProductFolder::ProductFolder(const std::string& leaf) : path_(MakeTempFolder(leaf)), savedCwd_(CurrentDirectory()) {}

ProductFolder::~ProductFolder() {
  ChangeDirectory(savedCwd_);
  // The whole per-test parent folder goes.
  std::string parent = path_.substr(0, path_.size() - 1);
  parent = parent.substr(0, LastSeparator(parent));
  RemoveTree(parent);
}

void ProductFolder::Add(const std::string& relative, const std::string& bytes) {
  std::string path = path_ + relative;
  size_t slash = LastSeparator(path);
  if (slash != std::string::npos) MakeFolder(path.substr(0, slash));
  WriteFile(path, bytes);
}

void ProductFolder::AddFolder(const std::string& relative) { MakeFolder(path_ + relative); }

}  // namespace testfs
