#pragma once

#include <cstdint>

#include "host/text.h"

// The current user's own desktop folder, ending in a backslash; empty when
// the shell cannot give it (a missing folder is not created).
Text DesktopDirectory();

// A directory as the shell gave it, with one backslash appended unless its
// last byte already is one.
Text WithTrailingBackslash(const char* directory, int32_t length);

// The file a link path is saved under: the path itself when its file-name
// part holds a ".", else the path with ".lnk" appended.
Text LinkFilePath(const Text& link_path);

// Saves a shell link to the target, shown with SW_SHOW and nothing else set.
// Needs OLE on the calling thread; true when the link file was saved.
bool CreateShortcut(const Text& link_path, const Text& target_path);
