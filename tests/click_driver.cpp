// click_driver FOLDER [INSTALLER]: puts the built installer (or INSTALLER)
// into FOLDER, starts it, clicks its button with the mouse and ends with the
// installer's exit code.
#include <cstdio>

#include "tests/support/installer.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) return 2;
  InstallerRun installer(argv[1], argc == 3 ? argv[2] : BuiltInstaller());
  if (!installer.ClickButton()) return 3;
  const DWORD exit_code = installer.ExitCode();
  std::printf("installer process %lu ended with exit code %lu\n", installer.Process().Id(), exit_code);
  return static_cast<int>(exit_code);
}
