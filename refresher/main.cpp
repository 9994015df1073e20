// The process entry of the page refresher. The command line is not read: arguments change
// nothing.
#include "refresher/program.h"

int main() {
  pelmora::Runtime runtime(pelmora::refresher::Image());
  pelmora::RunProgram(runtime, pelmora::refresher::Routines());
}
