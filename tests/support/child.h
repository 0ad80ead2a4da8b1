#pragma once

#include <windows.h>

#include <string>

// A child process with its standard output on a pipe, seen from the parent.
class ChildProcess {
 public:
  // Starts program with the given command-line arguments; Started() tells
  // whether CreateProcess succeeded.
  ChildProcess(const std::string& program, const std::string& arguments);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }

  // Whether the process has ended within the wait.
  bool Ended(DWORD wait_ms = 0) const { return WaitForSingleObject(process_, wait_ms) == WAIT_OBJECT_0; }

  // Waits for the end and gives the exit code; everything the child wrote
  // lands in *output. Gives STILL_ACTIVE (and kills it) after the timeout.
  DWORD Finish(std::string* output, DWORD timeout_ms = 20000);

 private:
  HANDLE process_ = nullptr;
  HANDLE output_ = nullptr;
  DWORD id_ = 0;
};

// Runs the probe program, which sits beside the test program, to its end.
DWORD RunProbe(const std::string& probe_path, const std::string& arguments, std::string* output);
std::string ProbePath();

// Runs a Unix shell command (Wine starts Unix programs too) and gives what
// it printed; waits at most timeout_ms.
std::string UnixCommandOutput(const std::string& command, DWORD timeout_ms = 10000);

// The first visible top-level window of the process with the given class
// (nullptr for any class),
// waited for up to timeout_ms; nullptr if none appears.
HWND WaitForWindowOf(DWORD process_id, const char* class_name, DWORD timeout_ms = 20000);
