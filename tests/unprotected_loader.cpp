// Loads the DLLs named on its command line by name, with the default search
// order and no protection: the control that shows a planted DLL gets loaded.
#include <windows.h>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) LoadLibraryA(argv[i]);
  return 0;
}
