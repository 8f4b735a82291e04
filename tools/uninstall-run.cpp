// uninstall-run: the uninstall run without the dialog.
//
// Placed in a product folder and started, it runs the same RunUninstall that
// the confirmation's "是" runs, from its own folder, then prints each item
// the run left behind on a line of its own (code page 936 bytes, LF line
// ends) and exits 0.
// Out of memory: prints "内存不足。" to standard error and exits 3.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "engine/uninstall.h"

int main() {
  // Lines end in LF alone, so that scripts on either side read them alike.
  _setmode(_fileno(stdout), _O_BINARY);
  try {
    CLeftBehind leftBehind;
    RunUninstall(leftBehind);
    for (int i = 0; i < leftBehind.GetSize(); ++i) std::printf("%s\n", leftBehind[i].GetString());
    std::fflush(stdout);
    return 0;
  } catch (const CMemoryException&) {
    std::fputs("\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA1\xA3\n", stderr);
    return 3;
  }
}
