#include "runtime/description.h"

#include <algorithm>
#include <limits>

#include "runtime/byte_reader.h"

namespace pelmora {
namespace {

constexpr std::size_t kReservedTailBytes = 20;

class ReadFailure {
 public:
  ReadFailure(std::size_t offset, std::string reason) : error_{offset, std::move(reason)} {}
  const DescriptionReadError& Error() const { return error_; }

 private:
  DescriptionReadError error_;
};

void Require(bool condition, const ByteReader& reader, std::size_t base, const char* reason) {
  if (reader.Failed()) throw ReadFailure(base + reader.Offset(), "the data ends inside a field");
  if (!condition) throw ReadFailure(base + reader.Offset(), reason);
}

// A window text is stored with a signed length; 0 or less stands for the empty text.
std::string WindowText(ByteReader& reader) {
  std::int32_t length = reader.I32();
  if (length <= 0) return {};
  auto bytes = reader.Bytes(static_cast<std::size_t>(length));
  return std::string(bytes.begin(), bytes.end());
}

Handler ResolveHandler(std::uint32_t reference, std::span<const HandlerEntry> handlers,
                       bool& known) {
  known = true;
  if (reference == kNoHandler) return nullptr;
  for (const HandlerEntry& entry : handlers) {
    if (entry.reference == reference) return entry.handler;
  }
  known = false;
  return nullptr;
}

// One ControlDescription: the whole record must be consumed by the generic part and the
// kind's block, which is the rest.
ControlDescription ReadControl(std::span<const std::uint8_t> record, std::size_t base,
                               std::span<const HandlerEntry> handlers) {
  ByteReader reader(record);
  ControlDescription control;
  control.kind = reader.U32();
  control.bindingSourceId = reader.U32();
  for (auto& word : control.reserved) word = reader.U32();
  control.name = reader.ZeroTerminatedText();
  control.secondText = reader.ZeroTerminatedText();
  control.storedLiveObject = reader.U32();
  control.left = reader.I32();
  control.top = reader.I32();
  control.width = reader.I32();
  control.height = reader.I32();
  control.storedLiveCursor = reader.U32();
  control.containerId = reader.U32();
  std::uint32_t childCount = reader.U32();
  Require(childCount <= reader.Remaining() / 4, reader, base, "child count runs past the record");
  control.childIds.resize(childCount);
  for (auto& child : control.childIds) child = reader.U32();
  auto pointer = reader.CountedBytes();
  control.mousePointer.assign(pointer.begin(), pointer.end());
  control.tag = reader.ZeroTerminatedText();
  control.reservedAfterTag = reader.U32();
  control.stateFlags = reader.U32();
  control.tabOrder = reader.I32();
  std::uint32_t bindingCount = reader.U32();
  Require(bindingCount <= reader.Remaining() / 8, reader, base,
          "binding count runs past the record");
  control.bindings.resize(bindingCount);
  for (auto& binding : control.bindings) {
    binding.eventNumber = reader.I32();
    binding.handlerReference = reader.U32();
  }
  auto tail = reader.Bytes(kReservedTailBytes);
  Require(true, reader, base, "record ends inside its generic part");
  std::copy(tail.begin(), tail.end(), control.reservedTail.begin());
  auto block = reader.Bytes(reader.Remaining());
  control.kindBlock.assign(block.begin(), block.end());

  for (auto& binding : control.bindings) {
    bool known = false;
    binding.handler = ResolveHandler(binding.handlerReference, handlers, known);
    Require(known, reader, base, "a binding names no routine of the program");
  }
  return control;
}

std::vector<ControlRecord> ReadControlBuffer(std::span<const std::uint8_t> buffer,
                                             std::uint32_t count, std::size_t base,
                                             std::span<const HandlerEntry> handlers) {
  ByteReader reader(buffer);
  Require(count <= buffer.size() / 8, reader, base, "control count runs past the buffer");
  std::vector<ControlRecord> records(count);
  std::vector<std::uint32_t> offsets(count);
  for (auto& record : records) record.controlId = reader.U32();
  for (auto& offset : offsets) offset = reader.U32();
  const std::size_t recordsStart = reader.Offset();
  auto recordArea = buffer.subspan(recordsStart);

  for (std::size_t i = 0; i < count; ++i) {
    ByteReader at(recordArea);
    at.Bytes(offsets[i]);
    std::uint32_t length = at.U32();
    auto bytes = at.Bytes(length);
    Require(!at.Failed(), reader, base, "a record lies outside its control buffer");
    const std::size_t recordBase = base + recordsStart + offsets[i] + 4;
    if (records[i].IsMenuItem()) {
      records[i].menuItemBytes.assign(bytes.begin(), bytes.end());
    } else {
      records[i].description = ReadControl(bytes, recordBase, handlers);
    }
  }
  return records;
}

}  // namespace

DescriptionReadResult ReadDescriptionBlock(std::span<const std::uint8_t> block,
                                           std::span<const HandlerEntry> handlers) {
  DescriptionReadResult result;
  ByteReader reader(block);
  try {
    std::uint32_t tableLength = reader.U32();
    Require(tableLength % 8 == 0, reader, 0, "window table length is not a multiple of 8");
    const std::uint32_t windowCount = tableLength / 8;
    Require(windowCount <= reader.Remaining() / 8, reader, 0, "window table runs past the block");
    result.windows.resize(windowCount);
    for (auto& window : result.windows) window.windowId = reader.U32();
    for (auto& window : result.windows) window.placeholder = reader.U32();

    for (auto& window : result.windows) {
      window.firstValue = reader.U32();
      window.secondValue = reader.U32();
      window.firstText = WindowText(reader);
      window.secondText = WindowText(reader);
      std::uint32_t controlCount = reader.U32();
      std::uint32_t bufferLength = reader.U32();
      const std::size_t bufferStart = reader.Offset();
      auto buffer = reader.Bytes(bufferLength);
      Require(true, reader, 0, "window entry runs past the block");
      window.records = ReadControlBuffer(buffer, controlCount, bufferStart, handlers);
    }
    Require(reader.AtEnd(), reader, 0, "bytes left over after the last window");
  } catch (const ReadFailure& failure) {
    result.windows.clear();
    result.error = failure.Error();
  }
  return result;
}

namespace {

void WriteControl(ByteWriter& out, const ControlDescription& control) {
  out.U32(control.kind);
  out.U32(control.bindingSourceId);
  for (auto word : control.reserved) out.U32(word);
  out.ZeroTerminatedText(control.name);
  out.ZeroTerminatedText(control.secondText);
  out.U32(control.storedLiveObject);
  out.I32(control.left);
  out.I32(control.top);
  out.I32(control.width);
  out.I32(control.height);
  out.U32(control.storedLiveCursor);
  out.U32(control.containerId);
  out.U32(static_cast<std::uint32_t>(control.childIds.size()));
  for (auto child : control.childIds) out.U32(child);
  out.CountedBytes(control.mousePointer);
  out.ZeroTerminatedText(control.tag);
  out.U32(control.reservedAfterTag);
  out.U32(control.stateFlags);
  out.I32(control.tabOrder);
  out.U32(static_cast<std::uint32_t>(control.bindings.size()));
  for (const auto& binding : control.bindings) {
    out.I32(binding.eventNumber);
    out.U32(binding.handlerReference);
  }
  out.Bytes(control.reservedTail);
  out.Bytes(control.kindBlock);
}

std::vector<std::uint8_t> WriteControlBuffer(const std::vector<ControlRecord>& records) {
  ByteWriter recordArea;
  std::vector<std::uint32_t> offsets;
  for (const auto& record : records) {
    offsets.push_back(static_cast<std::uint32_t>(recordArea.Size()));
    ByteWriter body;
    if (record.IsMenuItem()) {
      body.Bytes(record.menuItemBytes);
    } else {
      WriteControl(body, record.description);
    }
    recordArea.CountedBytes(body.Data());
  }
  ByteWriter buffer;
  for (const auto& record : records) buffer.U32(record.controlId);
  for (auto offset : offsets) buffer.U32(offset);
  buffer.Bytes(recordArea.Data());
  return buffer.Take();
}

}  // namespace

std::vector<std::uint8_t> WriteDescriptionBlock(std::span<const WindowDescription> windows) {
  ByteWriter out;
  out.U32(static_cast<std::uint32_t>(windows.size() * 8));
  for (const auto& window : windows) out.U32(window.windowId);
  for (const auto& window : windows) out.U32(window.placeholder);
  for (const auto& window : windows) {
    out.U32(window.firstValue);
    out.U32(window.secondValue);
    out.CountedText(window.firstText);
    out.CountedText(window.secondText);
    out.U32(static_cast<std::uint32_t>(window.records.size()));
    out.CountedBytes(WriteControlBuffer(window.records));
  }
  return out.Take();
}

std::optional<std::size_t> FindRecord(const std::vector<ControlRecord>& records, ControlId id) {
  if (records.empty()) return std::nullopt;
  if (records.front().controlId == id) return 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].controlId == id) return i;
  }
  return std::nullopt;
}

}  // namespace pelmora
