// pelmora-sim: the real program (run time, kinds, handlers and window description) on the
// simulated platform, driven by a script on standard input or in a file, printing a trace of
// what a user would see. Exits with the program's exit code; "end running" and 0 when the
// script ends while the program still runs.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "platform/sim/sim.h"
#include "refresher/program.h"
#include "tools/sim_driver/script.h"
#include "tools/sim_driver/session.h"

int main(int argc, char** argv) {
  std::string script;
  if (argc > 2) {
    std::cerr << "usage: pelmora-sim [SCRIPT]  (without SCRIPT, the script is read from standard input)\n";
    return 2;
  }
  if (argc == 2) {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
      std::cerr << "pelmora-sim: cannot read " << argv[1] << "\n";
      return 2;
    }
    script.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } else {
    script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  auto parsed = pelmora::sim_driver::ParseScript(script);
  if (auto* error = std::get_if<pelmora::sim_driver::ScriptError>(&parsed)) {
    std::cerr << "pelmora-sim: line " << error->line << ": " << error->message << "\n";
    return 2;
  }
  int exitCode = pelmora::sim_driver::RunSession(std::get<std::vector<pelmora::sim_driver::Step>>(parsed),
                                                 [](const std::string& line) {
                                                   std::fputs(line.c_str(), stdout);
                                                   std::fputc('\n', stdout);
                                                   std::fflush(stdout);
                                                 });
  return exitCode;
}
