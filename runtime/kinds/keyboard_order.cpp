#include "runtime/kinds/keyboard_order.h"

#include <algorithm>
#include <tuple>

#include "platform/platform.h"

namespace pelmora {
namespace {

// Smaller keys come first: TabOrder ascending, then the later stored control first.
auto OrderKey(const ControlView& view) {
  return std::make_tuple(view.tabOrder, -static_cast<std::ptrdiff_t>(view.storedIndex));
}

bool IsCandidate(const ControlView& view) {
  if (view.storedIndex == 0 || view.live == nullptr || view.kind == nullptr) return false;
  KindAttributes attributes = view.kind->Attributes();
  if (!attributes.takesFocus || attributes.neverShown) return false;
  if ((view.stateFlags & state_flag::Visible) == 0) return false;
  if ((view.stateFlags & state_flag::TabStop) == 0) return false;
  return platform::IsEnabled(view.live->Window());
}

}  // namespace

std::vector<ControlView> KeyboardOrder(const std::vector<ControlView>& controls) {
  std::vector<ControlView> order;
  std::copy_if(controls.begin(), controls.end(), std::back_inserter(order), IsCandidate);
  std::stable_sort(order.begin(), order.end(), [](const ControlView& a, const ControlView& b) {
    return OrderKey(a) < OrderKey(b);
  });
  return order;
}

std::optional<ControlView> NextInKeyboardOrder(const std::vector<ControlView>& order,
                                               const ControlView& from, bool backwards) {
  if (order.empty()) return std::nullopt;
  auto fromKey = OrderKey(from);
  if (!backwards) {
    for (const ControlView& view : order) {
      if (OrderKey(view) > fromKey) return view;
    }
    return order.front();
  }
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    if (OrderKey(*it) < fromKey) return *it;
  }
  return order.back();
}

}  // namespace pelmora
