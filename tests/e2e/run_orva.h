// Running the orva program from a test, as a user would: its exit status and
// what it printed on each stream.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace orva::e2e {

struct Result {
  int status = -1;  // the exit status; -1 when the program did not exit normally
  std::string out, err;
};

inline std::string Quoted(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

// Runs the orva program (ORVA_PROGRAM, set by the build) with `args`; its
// standard error goes through the file `errFile`. `shellPrefix` comes first on
// the shell's line ("ulimit -v 65536; ").
inline Result RunOrva(const std::vector<std::string>& args, const std::string& errFile,
                      const std::string& shellPrefix = "") {
  std::string command = shellPrefix + Quoted(ORVA_PROGRAM);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " 2>" + Quoted(errFile);
  Result result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errFile);
  std::ostringstream text;
  text << err.rdbuf();
  result.err = text.str();
  return result;
}

// The lines of `text`.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace orva::e2e
