// The modal error box: recorded, reported to the observer, and kept open by a nested loop
// (pre-translation applies, timers tick) until the user presses OK.
#include "platform/sim/world.h"

namespace pelmora::platform {

void ShowErrorBox(std::string_view caption, std::string_view text) {
  using namespace sim::detail;
  World& world = TheWorld();
  world.messageBoxes.push_back(
      sim::MessageBoxRecord{std::string(caption), std::string(text), true});
  const std::size_t index = world.messageBoxes.size() - 1;
  if (world.observer.messageBoxOpened) world.observer.messageBoxOpened(caption, text);
  RunBoxLoop(index);
}

}  // namespace pelmora::platform

namespace pelmora::sim {

using namespace detail;

const std::vector<MessageBoxRecord>& MessageBoxes() { return TheWorld().messageBoxes; }

bool MessageBoxOpen() {
  for (const MessageBoxRecord& box : TheWorld().messageBoxes) {
    if (box.open) return true;
  }
  return false;
}

void PressOk() {
  QueuedItem item;
  item.kind = QueuedItem::Kind::UserAction;
  // OK of the box on top: the one opened last that is still open.
  item.action = [] {
    auto& boxes = TheWorld().messageBoxes;
    for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) {
      if (box->open) {
        box->open = false;
        return;
      }
    }
  };
  QueueFromUser(std::move(item));
}

void AnswerMessageBoxesAutomatically(bool automatically) {
  TheWorld().answerBoxesAutomatically = automatically;
}

}  // namespace pelmora::sim
