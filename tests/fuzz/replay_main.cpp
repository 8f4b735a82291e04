// Runs the fuzz target's checks once on each file given, or on every file in
// each folder given: the corpus as a plain test, without libFuzzer.
// Prints the number of inputs run; any broken property aborts.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Collect(const std::string& path, std::vector<std::string>* files) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    std::fprintf(stderr, "replay: cannot find %s\n", path.c_str());
    return;
  }
  if (!S_ISDIR(st.st_mode)) {
    files->push_back(path);
    return;
  }
  DIR* d = opendir(path.c_str());
  if (d == nullptr) return;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") Collect(path + "/" + name, files);
  }
  closedir(d);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) Collect(argv[i], &files);
  if (files.empty()) {
    std::fprintf(stderr, "replay: no inputs\n");
    return 1;
  }
  for (const std::string& f : files) {
    FILE* in = std::fopen(f.c_str(), "rb");
    if (in == nullptr) {
      std::fprintf(stderr, "replay: cannot read %s\n", f.c_str());
      return 1;
    }
    std::vector<uint8_t> bytes;
    uint8_t buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(in);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replay: %zu inputs, every property held\n", files.size());
  return 0;
}
