// Files and folders for tests, on both backends: a product folder below the
// temporary folder, real files in it, and a look at what is left.
// Paths are code page 936 byte strings with backslashes; on Linux the
// backslashes become slashes at this boundary, as in the POSIX backend.
#pragma once

#include <string>
#include <vector>

namespace testfs {

// A fresh, empty, uniquely named folder below the temporary folder, whose
// name ends in `leaf`; with a trailing backslash.
std::string MakeTempFolder(const std::string& leaf);

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
void MakeFolder(const std::string& path);
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);
// Removes the folder and everything in it; quietly does nothing if absent.
void RemoveTree(const std::string& path);
std::string CurrentDirectory();
void ChangeDirectory(const std::string& path);

// A product folder for one test: made fresh, removed with everything in it
// when the object goes.
class ProductFolder {
 public:
  explicit ProductFolder(const std::string& leaf);
  ~ProductFolder();
  ProductFolder(const ProductFolder&) = delete;
  ProductFolder& operator=(const ProductFolder&) = delete;

  // The folder, with its trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + relative; }
  // Makes the file and the folders on its way.
  void Add(const std::string& relative, const std::string& bytes = "x");
  void AddFolder(const std::string& relative);

 private:
  std::string path_;
  std::string savedCwd_;
};

}  // namespace testfs
