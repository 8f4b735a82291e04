// bare-delete LIST: the benchmark's floor. Reads LIST (one path a line, in
// the ANSI code page, CR LF or LF) and calls DeleteFileA on each path,
// nothing else: what deleting those files costs on this platform.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  FILE* list = std::fopen(argv[1], "rb");
  if (list == nullptr) return 1;
  char path[1024];
  while (std::fgets(path, sizeof path, list) != nullptr) {
    size_t n = std::strlen(path);
    while (n > 0 && (path[n - 1] == '\n' || path[n - 1] == '\r')) path[--n] = '\0';
    if (n > 0) DeleteFileA(path);
  }
  std::fclose(list);
  return 0;
}
