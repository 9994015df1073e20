// The page refresher with a damaged window description: its main window keeps its entry in the
// window table but has lost every record, the window's own included. The block still reads
// cleanly, so the program gets as far as loading its start-up window and must fail there with
// the error box, and end with exit code -1 once the box is dismissed.
//
// The file ends in .cc on purpose: tests/CMakeLists.txt compiles every *.cpp below tests/ into
// the unit-test program, and this one has a main of its own.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "refresher/identifiers.h"
#include "refresher/program.h"
#include "runtime/description.h"

namespace {

std::vector<std::uint8_t> BlockWithEmptiedMainWindow() {
  using namespace pelmora;
  ProgramImage image = refresher::Image();
  DescriptionReadResult read = ReadDescriptionBlock(image.descriptionBlock, image.handlers);
  bool emptied = false;
  for (WindowDescription& window : read.windows) {
    if (window.windowId != refresher::kMainWindow) continue;
    window.records.clear();
    emptied = true;
  }
  // Without this the test would exercise something else than it claims: say so and stop.
  if (!read.Ok() || !emptied) {
    std::fprintf(stderr, "startup_window_without_records: the program's block %s\n",
                 read.Ok() ? "holds no main window" : "does not read");
    std::exit(2);
  }
  return WriteDescriptionBlock(read.windows);
}

}  // namespace

int main() {
  static const std::vector<std::uint8_t> kBlock = BlockWithEmptiedMainWindow();
  pelmora::ProgramImage image = pelmora::refresher::Image();
  image.descriptionBlock = kBlock;
  pelmora::Runtime runtime(image);
  pelmora::RunProgram(runtime, pelmora::refresher::Routines());
}
