#pragma once

// Keeps DLL loading to the system folder, so that a DLL planted beside the
// installer (a download folder others can write to) is never loaded in place
// of a system one. The first thing the process does.
void RestrictDllLoadingToSystemFolder();
