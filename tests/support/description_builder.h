// Builds description blocks for tests from readable C++: a control is named by its id and
// kind, then given only what the test is about. Unset fields take the values of an ordinary
// stored control (visible, 4-byte default mouse pointer, no bindings, empty kind block).
//
//   auto block = BuildBlock({WindowOf(0x52010001, {
//       ControlBuilder(0x06010000, kind_ids::Window).At(0, 0, 400, 300).Bind(0, 7),
//       ControlBuilder(0x16010003, kFixtureChildKind).Name("a").At(8, 8, 80, 20)})});
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "runtime/description.h"

namespace pelmora::testing {

class ControlBuilder {
 public:
  ControlBuilder(ControlId id, KindId kind);

  ControlBuilder& Name(std::string name);
  ControlBuilder& At(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
  // state_flag bits; the default is Visible alone.
  ControlBuilder& Flags(std::uint32_t stateFlags);
  ControlBuilder& Bind(EventNumber event, std::uint32_t handlerReference);
  ControlBuilder& BindingSource(ControlId source);
  ControlBuilder& Container(ControlId container);
  ControlBuilder& Children(std::vector<ControlId> childIds);
  ControlBuilder& Tag(std::string tag);
  ControlBuilder& TabOrder(std::int32_t order);
  ControlBuilder& MousePointer(std::vector<std::uint8_t> data);
  ControlBuilder& KindBlock(std::vector<std::uint8_t> block);

  ControlRecord Build() const { return record_; }
  operator ControlRecord() const { return record_; }  // NOLINT: reads as a list of controls

 private:
  ControlRecord record_;
};

// A window entry with the given records (the first is the window itself) and zero values.
WindowDescription WindowOf(WindowId windowId, std::vector<ControlRecord> records);

std::vector<std::uint8_t> BuildBlock(const std::vector<WindowDescription>& windows);

}  // namespace pelmora::testing
