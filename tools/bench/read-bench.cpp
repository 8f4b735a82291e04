// read-bench: how fast the log reader cuts a big log into lines, and how
// much memory a whole run on that log takes. Figures, not a test.
//
//   read-bench speed LOG [REPEATS]   lines/s of CTextFileReader::ReadLine and
//                                    of FindLine("[FILE]"), against a plain
//                                    memchr line split of the same bytes
//   read-bench peak LOG              peak memory of a RunUninstall on LOG
//                                    (deletions recorded, not made)
// LOG is a Linux path. Output: "key value" lines, for tools/bench/run-bench.
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/text_file_reader.h"
#include "engine/uninstall.h"
#include "os/os.h"

namespace {

double Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

std::string Windows(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}

// The memchr split: every line of the buffer, its breaks skipped as the
// reader skips them; the bytes touched the same way (a sum), so neither
// loop can be optimised away.
size_t SplitMemchr(const char* text, size_t size, unsigned* sum) {
  const char* p = text;
  const char* end = text + size;
  size_t lines = 0;
  while (p < end) {
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* stop = nl != nullptr ? nl : end;
    const char* lineEnd = stop > p && stop[-1] == '\r' ? stop - 1 : stop;
    *sum += static_cast<unsigned char>(*p) + static_cast<unsigned>(lineEnd - p);
    ++lines;
    p = stop + 1;
    while (p < end && (*p == '\r' || *p == '\n')) ++p;
  }
  return lines;
}

int Speed(const std::string& log, int repeats) {
  CTextFileReader reader;
  if (reader.Open(Windows(log).c_str()) != 0) {
    std::fprintf(stderr, "read-bench: cannot load %s\n", log.c_str());
    return 1;
  }
  FILE* f = std::fopen(log.c_str(), "rb");
  std::vector<char> bytes;
  char chunk[1 << 16];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(f);

  std::vector<double> readLine, findLine, split;
  size_t lines = 0, entries = 0, splitLines = 0;
  unsigned sum = 0;
  char line[1024];
  for (int r = 0; r < repeats; ++r) {
    // Re-opening resets the cursor; the load is outside the timed part.
    reader.Open(Windows(log).c_str());
    double t = Now();
    lines = 0;
    while (reader.ReadLine(line, sizeof line) != CTextFileReader::kEnd) {
      sum += static_cast<unsigned char>(line[0]);
      ++lines;
    }
    readLine.push_back(Now() - t);

    reader.Open(Windows(log).c_str());
    t = Now();
    entries = 0;
    while (reader.FindLine(kFileEntryPrefix, line, sizeof line) == 0) ++entries;
    findLine.push_back(Now() - t);

    t = Now();
    splitLines = SplitMemchr(bytes.data(), bytes.size(), &sum);
    split.push_back(Now() - t);
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("bytes %zu\nlines %zu\nentries %zu\nsplit_lines %zu\n", bytes.size(), lines, entries, splitLines);
  std::printf("readline_lines_per_s %.0f\n", static_cast<double>(lines) / median(readLine));
  std::printf("findline_lines_per_s %.0f\n", static_cast<double>(lines) / median(findLine));
  std::printf("memchr_lines_per_s %.0f\n", static_cast<double>(splitLines) / median(split));
  std::printf("checksum %u\n", sum);
  return 0;
}

// ---- Peak memory ----
std::string g_module;
size_t g_live = 0, g_peak = 0;
long g_deletes = 0;

uint32_t Module(char* buffer, uint32_t size) {
  if (g_module.size() >= size) return 0;
  std::strcpy(buffer, g_module.c_str());
  return static_cast<uint32_t>(g_module.size());
}
bool RecordDelete(const char*) {
  ++g_deletes;
  return true;
}
bool NoRemove(const char*) { return false; }
bool NoFolder(int, char*) { return false; }
// Counts the bytes the run holds on its heap; a size header in front.
void* CountingAlloc(size_t size) {
  size_t* p = static_cast<size_t*>(std::malloc(size + sizeof(size_t) * 2));
  if (p == nullptr) return nullptr;
  p[0] = size;
  g_live += size;
  g_peak = std::max(g_peak, g_live);
  return p + 2;
}
void CountingFree(void* block) {
  size_t* p = static_cast<size_t*>(block) - 2;
  g_live -= p[0];
  std::free(p);
}

long HighWaterKiB() {
  FILE* f = std::fopen("/proc/self/status", "r");
  char row[256];
  long kib = -1;
  while (f != nullptr && std::fgets(row, sizeof row, f) != nullptr) {
    if (std::strncmp(row, "VmHWM:", 6) == 0) kib = std::strtol(row + 6, nullptr, 10);
  }
  if (f != nullptr) std::fclose(f);
  return kib;
}

int Peak(const std::string& log) {
  // The run's program "lives" beside the log.
  g_module = Windows(log.substr(0, log.rfind('/') + 1)) + "Uninstall.exe";
  os::Calls& c = os::Current();
  c.GetModuleFileNameA = Module;
  c.DeleteFileA = RecordDelete;
  c.RemoveDirectoryA = NoRemove;
  c.GetSpecialFolderPath = NoFolder;
  c.Alloc = CountingAlloc;
  c.Free = CountingFree;
  long before = HighWaterKiB();
  CLeftBehind left;
  RunUninstall(left);
  long after = HighWaterKiB();
  std::printf("deletions %ld\nheap_peak_bytes %zu\nhwm_before_kib %ld\nhwm_after_kib %ld\n", g_deletes, g_peak,
              before, after);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "speed") == 0) return Speed(argv[2], argc >= 4 ? std::atoi(argv[3]) : 5);
  if (argc == 3 && std::strcmp(argv[1], "peak") == 0) return Peak(argv[2]);
  std::fprintf(stderr, "usage: read-bench speed LOG [REPEATS] | read-bench peak LOG\n");
  return 2;
}
