#pragma once

#include <windows.h>

#include <cstdint>

#include "host/text.h"

using EndRoutine = void (*)();

// Records, once at start, the folder that holds the running executable and
// makes it the current directory.
void RecordRunDirectory();

// A fresh copy of the recorded run directory, without a trailing separator;
// empty only when the executable's path held no backslash at all.
Text RunDirectory();

// How much of an executable path is its run directory: everything before
// its last backslash that is a character of its own; 0 without one.
int32_t RunDirectoryLength(const char* path, int32_t length);

// OLE for the calling thread, once; the end of the program undoes it.
void InitializeOle();

// Routines for the end of the program, each called once, in the order in
// which they were first registered.
void RegisterEndRoutine(EndRoutine routine);

// The window icons, destroyed by the end of the program.
void KeepWindowIcons(HICON large, HICON small);

// The end of the program: end routines, window icons, OLE. A second call
// finds nothing left to do.
void CleanUpForExit();

[[noreturn]] void EndProgram(int32_t exit_code);

// The one fatal path: a message box naming the failure, then the end of the
// program with exit code -1 and without the end routines.
[[noreturn]] void FatalStop(const char* message);
