// The stored model of the program's windows: the DescriptionBlock read into windows, control
// records and event bindings, and written back byte for byte. The loader works on this model;
// a form compiler and a dumper are built on the reader and the writer.
//
// Fields that no operation of the run time uses (the window entry's values and texts, the
// reserved words, the second text, the stored LiveObject and LiveCursor words, the ChildIds,
// the 20 reserved bytes, the per-window placeholders) are read past and kept, so that reading a
// canonical block and writing it again gives the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/ids.h"
#include "runtime/runtime.h"

namespace pelmora {

// One event of a control bound to a routine of the program. The reference is what the block
// stores; handler is the routine it names (null for kNoHandler).
struct EventBinding {
  EventNumber eventNumber = 0;
  std::uint32_t handlerReference = kNoHandler;
  Handler handler = nullptr;
  friend bool operator==(const EventBinding&, const EventBinding&) = default;
};

// The generic part of a control record followed by the kind's own stored block.
struct ControlDescription {
  KindId kind = 0;
  ControlId bindingSourceId = 0;  // 0: the control's own bindings
  std::array<std::uint32_t, 4> reserved{};
  std::string name;
  std::string secondText;
  std::uint32_t storedLiveObject = 0;  // kept as stored; the live control is the run time's
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t storedLiveCursor = 0;
  ControlId containerId = 0;  // 0: directly in the window
  std::vector<ControlId> childIds;  // page by page, 0 between pages
  std::vector<std::uint8_t> mousePointer;
  std::string tag;
  std::uint32_t reservedAfterTag = 0;
  std::uint32_t stateFlags = 0;  // state_flag bits
  std::int32_t tabOrder = 0;
  std::vector<EventBinding> bindings;
  std::array<std::uint8_t, 20> reservedTail{};
  std::vector<std::uint8_t> kindBlock;
  friend bool operator==(const ControlDescription&, const ControlDescription&) = default;
};

// A record of a control buffer. Menu items have a layout of their own that this run time does
// not interpret: their bytes are kept as they are and nothing else is read from them.
struct ControlRecord {
  ControlId controlId = 0;
  ControlDescription description;           // empty for a menu item
  std::vector<std::uint8_t> menuItemBytes;  // the whole record of a menu item
  bool IsMenuItem() const { return pelmora::IsMenuItem(controlId); }
  friend bool operator==(const ControlRecord&, const ControlRecord&) = default;
};

struct WindowDescription {
  WindowId windowId = 0;
  std::uint32_t placeholder = 0;  // the window table's second word for this window
  std::uint32_t firstValue = 0;
  std::uint32_t secondValue = 0;
  std::string firstText;
  std::string secondText;
  // The control buffer, in stored order; record 0 is the window itself.
  std::vector<ControlRecord> records;
  friend bool operator==(const WindowDescription&, const WindowDescription&) = default;
};

// Why a block could not be read; for the dumper's and the compiler's messages. The run time
// itself reports every failure with one text.
struct DescriptionReadError {
  std::size_t offset = 0;  // where in the block reading stopped
  std::string reason;
};

struct DescriptionReadResult {
  std::vector<WindowDescription> windows;
  std::optional<DescriptionReadError> error;
  bool Ok() const { return !error.has_value(); }
};

// Reads every window and record and resolves every binding's handler reference against the
// program's routines. Never reads outside the bytes: a truncation, a count or offset that
// points outside, a record that overruns its buffer, a window table whose length is not a
// multiple of 8, bytes left over, or a reference that names no routine is a failure.
DescriptionReadResult ReadDescriptionBlock(std::span<const std::uint8_t> block,
                                           std::span<const HandlerEntry> handlers);

// Writes the windows as a block. Records are laid out one after the other in stored order,
// which is the canonical form: reading a canonical block and writing it gives the same bytes.
std::vector<std::uint8_t> WriteDescriptionBlock(std::span<const WindowDescription> windows);

// The record's index in the buffer: the first ControlId is compared first, then the list is
// searched from the start.
std::optional<std::size_t> FindRecord(const std::vector<ControlRecord>& records, ControlId id);

}  // namespace pelmora
