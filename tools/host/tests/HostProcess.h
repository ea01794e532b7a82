// The built host command line started as a process, as a user starts it: its standard output
// and error together, and its exit code. HOST_EXECUTABLE and PROJECT_BIN_DIR come from the
// build.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace hosttest {

struct Outcome {
  int exitCode = -1;
  std::string output;  // standard output and standard error
};

inline std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The command started, its output read through the pipe (Finish).
inline FILE* Start(const std::vector<std::string>& args) {
  std::string command = Quoted(HOST_EXECUTABLE);
  for (const auto& arg : args) command += " " + Quoted(arg);
  return popen((command + " 2>&1").c_str(), "r");
}

inline Outcome Finish(FILE* pipe) {
  Outcome outcome;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, n);
  const int status = pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return outcome;
}

inline Outcome RunHost(const std::vector<std::string>& args) {
  FILE* pipe = Start(args);
  if (!pipe) return {};
  return Finish(pipe);
}

// A built file's path.
inline std::string Bin(const char* file) {
  return std::string(PROJECT_BIN_DIR) + "/" + file;
}

}  // namespace hosttest
