// WinMain: the process's entry hands over to the framework. Kept in a library
// of its own, linked as objects: the C runtime asks for WinMain only after
// the program's static libraries have been searched.
#include <windows.h>

#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunApplication(instance); }
