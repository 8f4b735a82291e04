// The uninstall run: what follows the user's "是".
//
// Asks the product's own program to unregister itself, deletes every file
// that install.log lists (sparing the uninstaller), removes the product's
// three sub-folders when empty, and deletes the product's shortcuts. Every
// step is attempted whatever the others did; the run never stops on a failed
// call. Running out of memory throws CMemoryException out of the run.
#pragma once

#include "framework/cstring.h"

// What a run could not remove, one full path an item, in the order met:
// listed files that are still there after their deletion failed, shortcuts
// likewise, and an install.log that exists but could not be loaded.
typedef CStringArray CLeftBehind;

// Fixed names of the product being removed (code page 936 bytes).
extern const char kInstallLog[];       // "install.log"
extern const char kCompanion[];        // "nxedit.exe"
extern const char kCompanionArgs[];    // "unreg"
extern const char kFileEntryPrefix[];  // "[FILE]"
extern const char kSparedName[];       // "uninstall.exe"

// How long the run waits for the companion before it deletes anything.
const unsigned kCompanionWaitMs = 10000;

void RunUninstall(CLeftBehind& leftBehind);

// Deletes the desktop shortcut, the two Start-menu shortcuts and the
// Start-menu folder of the current user. Returns 0.
int RemoveShortcuts(CLeftBehind& leftBehind);

// The path one "[FILE]" line names, as it is passed to deletion (lower-case,
// trimmed). Empty when the line names nothing.
CString EntryPath(const char* line);

// True when the entry names the uninstaller and must be spared.
bool IsSparedEntry(const char* entry);
