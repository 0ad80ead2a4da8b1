#pragma once

// The installer from its start to the end of its message loop: OLE, the run
// directory, the end routine, the start window. Gives the exit code that the
// quit message carried; the caller then runs the clean-up and ends.
int StartProgram();
