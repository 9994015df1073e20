#include "tests/support/description_builder.h"

namespace pelmora::testing {

ControlBuilder::ControlBuilder(ControlId id, KindId kind) {
  record_.controlId = id;
  record_.description.kind = kind;
  record_.description.stateFlags = state_flag::Visible;
  record_.description.mousePointer = {0, 0, 0, 0};
}

ControlBuilder& ControlBuilder::Name(std::string name) {
  record_.description.name = std::move(name);
  return *this;
}

ControlBuilder& ControlBuilder::At(std::int32_t left, std::int32_t top, std::int32_t width,
                                   std::int32_t height) {
  auto& d = record_.description;
  d.left = left;
  d.top = top;
  d.width = width;
  d.height = height;
  return *this;
}

ControlBuilder& ControlBuilder::Flags(std::uint32_t stateFlags) {
  record_.description.stateFlags = stateFlags;
  return *this;
}

ControlBuilder& ControlBuilder::Bind(EventNumber event, std::uint32_t handlerReference) {
  record_.description.bindings.push_back({event, handlerReference, nullptr});
  return *this;
}

ControlBuilder& ControlBuilder::BindingSource(ControlId source) {
  record_.description.bindingSourceId = source;
  return *this;
}

ControlBuilder& ControlBuilder::Container(ControlId container) {
  record_.description.containerId = container;
  return *this;
}

ControlBuilder& ControlBuilder::Children(std::vector<ControlId> childIds) {
  record_.description.childIds = std::move(childIds);
  return *this;
}

ControlBuilder& ControlBuilder::Tag(std::string tag) {
  record_.description.tag = std::move(tag);
  return *this;
}

ControlBuilder& ControlBuilder::TabOrder(std::int32_t order) {
  record_.description.tabOrder = order;
  return *this;
}

ControlBuilder& ControlBuilder::MousePointer(std::vector<std::uint8_t> data) {
  record_.description.mousePointer = std::move(data);
  return *this;
}

ControlBuilder& ControlBuilder::KindBlock(std::vector<std::uint8_t> block) {
  record_.description.kindBlock = std::move(block);
  return *this;
}

WindowDescription WindowOf(WindowId windowId, std::vector<ControlRecord> records) {
  WindowDescription window;
  window.windowId = windowId;
  window.records = std::move(records);
  return window;
}

std::vector<std::uint8_t> BuildBlock(const std::vector<WindowDescription>& windows) {
  return WriteDescriptionBlock(windows);
}

}  // namespace pelmora::testing
