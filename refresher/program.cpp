#include "refresher/program.h"

#include <array>

#include "refresher/constants.h"
#include "refresher/handlers.h"
#include "refresher/identifiers.h"
#include "runtime/kinds/button_kind.h"
#include "runtime/kinds/edit_box_kind.h"
#include "runtime/kinds/html_viewer_kind.h"
#include "runtime/kinds/label_kind.h"
#include "runtime/kinds/timer_kind.h"
#include "runtime/kinds/window_kind.h"

namespace pelmora::refresher {

std::span<ControlKind* const> ProgramKinds() {
  static const std::array<ControlKind*, 6> kKinds = {
      &WindowKind(), &EditBoxKind(), &LabelKind(), &ButtonKind(), &TimerKind(), &HtmlViewerKind(),
  };
  return kKinds;
}

ProgramImage Image() {
  return ProgramImage{MainWindowBlock(), HandlerTable(), ConstantBytes(), ProgramKinds()};
}

ProgramRoutines Routines() { return ProgramRoutines{&ProgramInit, &ProgramExit, kMainWindow}; }

void ProgramInit() {}
void ProgramExit() {}

}  // namespace pelmora::refresher
