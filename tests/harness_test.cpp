// uninstall-run.exe placed in a product folder and started as a program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/run_fixture.h"
#include "tests/support/testfs.h"

namespace {

std::string BuildFolder() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dir(self);
  return dir.substr(0, dir.rfind('\\') + 1);
}

// Starts the program, waits at most a minute, and returns its exit code;
// its standard output in out (through a file: a pipe would stay open as long
// as anything the program started holds it).
DWORD RunProgram(const std::string& exe, const std::string& outFile, std::string* out) {
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE file = CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0xFFFFFFFF;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = file;
  si.hStdError = file;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi = {};
  std::string cmd = "\"" + exe + "\"";
  BOOL ok = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(file);
  if (!ok) return 0xFFFFFFFF;
  DWORD code = 0xFFFFFFFE;
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  *out = testfs::ReadFile(outFile);
  return code;
}

TEST(Harness, RunsAWholeUninstallFromItsFolder) {
  testfs::ProductFolder folder(runfixture::kProductLeaf);
  std::string build = BuildFolder();
  ASSERT_TRUE(CopyFileA((build + "uninstall-run.exe").c_str(), (folder / "uninstall.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((build + "nxedit.exe").c_str(), (folder / "nxedit.exe").c_str(), FALSE));
  folder.Add("data\\a.txt");
  folder.Add("help\\b.chm");
  folder.AddFolder("script");
  folder.Add("\xCE\xC4\xB1\xBE.txt");
  folder.Add("held.txt");
  folder.Add("install.log",
             "[FILE] \\nxedit.exe\r\n[FILE] \\data\\a.txt\r\n[FILE] \\help\\b.chm\r\n[FILE] \\\xCE\xC4\xB1\xBE.txt\r\n"
             "[FILE] \\held.txt\r\n[FILE] \\uninstall.exe\r\n[FILE] \\install.log\r\n");
  HANDLE held = CreateFileA((folder / "held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);

  std::string out;
  DWORD code = RunProgram(folder / "uninstall.exe", folder.Path() + "..\\out.txt", &out);
  CloseHandle(held);

  EXPECT_EQ(0u, code) << out;
  EXPECT_EQ(folder / "held.txt" + "\n", out);
  for (const char* gone : {"nxedit.exe", "data", "help", "script", "\xCE\xC4\xB1\xBE.txt", "install.log"})
    EXPECT_FALSE(testfs::Exists(folder / gone)) << gone;
  EXPECT_TRUE(testfs::Exists(folder / "uninstall.exe"));
  std::string record = testfs::ReadFile(folder / "nxedit-called.txt");
  EXPECT_NE(std::string::npos, record.find("unreg")) << record;
}

}  // namespace
