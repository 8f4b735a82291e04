// A program that carries the uninstaller's resources and does nothing else:
// tests/resources_test.cpp reads them from this file in both Windows builds
// (the 32-bit one cannot run here, but can be read as data).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
