// The page refresher assembled as pelmora is, on the GTK back end, but with start-up data that
// cannot work, so that the end-to-end tests can reach the run-time error box of the real
// program from outside: nothing a user can do to the shipped program makes it fail at start.
//
//   pelmora_failing_start broken-block    the window data is cut in half: the data block is
//                                         refused while the run time starts
//   pelmora_failing_start missing-window  the data is intact but the program asks for a start-up
//                                         window it does not hold
//
// Either way the box appears; once it is dismissed the process ends with exit code -1.
//
// The file ends in .cc on purpose: tests/ compiles every .cpp below it into the unit-test
// program, and this one brings its own main.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>
#include <vector>

#include "refresher/identifiers.h"
#include "refresher/program.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: pelmora_failing_start broken-block|missing-window\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Usage();
  const std::string_view mode = argv[1];

  pelmora::ProgramImage image = pelmora::refresher::Image();
  pelmora::ProgramRoutines routines = pelmora::refresher::Routines();

  // Outlives the run time: the image only points at it.
  std::vector<std::uint8_t> halfBlock;
  if (mode == "broken-block") {
    const std::span<const std::uint8_t> whole = image.descriptionBlock;
    halfBlock.assign(whole.begin(), whole.begin() + whole.size() / 2);
    image.descriptionBlock = halfBlock;
  } else if (mode == "missing-window") {
    routines.startupWindow = pelmora::refresher::kMainWindow + 1;
  } else {
    return Usage();
  }

  pelmora::Runtime runtime(image);
  pelmora::RunProgram(runtime, routines);
}
