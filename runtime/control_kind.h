// How a kind of control plugs into the run time: its identity and property list, its
// attributes, and the four operations the loader and the property access call.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "runtime/ids.h"

namespace pelmora {

class Runtime;

// The 16-bit type code of a property; it fixes how a value crosses ReadProperty and
// WriteProperty as two words.
enum class PropertyType : std::uint16_t {
  Integer1000 = 1000,
  Integer = 1001,
  Int64A = 1002,
  Logical = 1003,
  Int64B = 1004,
  Text = 1005,
  Choice = 1006,
  Text1007 = 1007,
  Text1008 = 1008,
  Bytes1009 = 1009,
  Bytes1010 = 1010,
  MousePointer = 1011,
  Bytes1012 = 1012,
  Font = 1013,
  Word1014 = 1014,
  Word1015 = 1015,
  Address = 1016,
  Word1017 = 1017,
  Text1018 = 1018,
  Text1019 = 1019,
  Text1020 = 1020,
  Text1021 = 1021,
  Text1022 = 1022,
  Bytes1023 = 1023,
  Bytes1024 = 1024,
};

// A value as a kind receives it (WriteOwnProperty, already prepared by its PropertyType) or
// hands it out (ReadOwnProperty, which starts from all zero).
struct OwnValue {
  std::uint32_t low = 0;
  std::uint32_t high = 0;
  // Text types: a zero-terminated text. Written: never null (absent arrives as "").
  // Read: points into the control's own storage; the run time copies it.
  const char* text = nullptr;
  // Byte-data types.
  const std::uint8_t* bytes = nullptr;
  std::uint32_t byteCount = 0;
};

// What a kind needs to create its live control.
struct KindCreation {
  std::span<const std::uint8_t> block;  // the KindPropertyBlock; empty: the kind's defaults
  std::uint32_t style = 0;  // what the loader derived: vocab::style::Disabled, TabStop
  platform::WindowHandle parent = platform::WindowHandle::None;
  std::uint32_t childId = 0;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  WindowId windowId = 0;
  ControlId controlId = 0;
};

// The native window request of a control, with what every kind takes from the loader as it
// stands: the window's class, its place, its parent and its child id. The kind adds its
// styles, text and procedure.
inline platform::WindowSpec ControlWindowRequest(const KindCreation& creation,
                                                 platform::WindowClass windowClass) {
  platform::WindowSpec request;
  request.windowClass = windowClass;
  request.rect = {creation.left, creation.top, creation.width, creation.height};
  request.parent = creation.parent;
  request.childId = creation.childId;
  return request;
}

// A live control: made by its kind, alive while its native window exists. The kind frees it
// after the window's final message, once it has told the run time (ControlDestroyed).
class LiveControl {
 public:
  virtual ~LiveControl() = default;
  virtual platform::WindowHandle Window() const = 0;

  // Pre-translation: the message loop offers every input message first to the control it is
  // aimed at, then to each parent up to the top-level window. True claims it.
  virtual bool PreTranslate(platform::Message& /*message*/) { return false; }

  // Whether the control wants this key for itself, so that the window's keyboard handling
  // leaves it alone (a writable multi-line edit box wants Enter).
  virtual bool WantsKey(std::uint32_t /*virtualKey*/) const { return false; }

  // Keyboard handling of the window: Enter presses a default button, Alt+letter the control
  // whose caption holds "&letter".
  virtual bool IsDefaultButton() const { return false; }
  virtual std::string_view MnemonicCaption() const { return {}; }

  // The window kind only: shows a freshly loaded window as its Placement asks.
  virtual void ShowAfterLoad() {}
};

struct KindAttributes {
  bool neverShown = false;        // created hidden and enabled, whatever its flags (Timer)
  bool mayRaiseEvents = true;
  bool holdsPages = false;
  bool rebuildAllowed = true;
  bool takesFocus = true;         // labels and timers cannot take the keyboard focus
};

class ControlKind {
 public:
  virtual ~ControlKind() = default;

  virtual KindId Id() const = 0;
  virtual std::string_view Name() const = 0;
  // Index = PropertyNumber; the first eight are the common ones.
  virtual std::span<const PropertyType> PropertyTypes() const = 0;
  virtual KindAttributes Attributes() const = 0;

  // The kind's control module is told when the program starts and ends.
  virtual void ProgramStarting(Runtime& /*runtime*/) {}
  virtual void ProgramEnding(Runtime& /*runtime*/) {}

  // Null on failure (bad block, native window refused); nothing remains then.
  virtual LiveControl* CreateKindControl(Runtime& runtime, const KindCreation& creation) = 0;
  // True when the control must be rebuilt for the value to take effect.
  virtual bool WriteOwnProperty(Runtime& runtime, LiveControl& control, std::int32_t ownIndex,
                                const OwnValue& value) = 0;
  // False for an own index the kind does not have.
  virtual bool ReadOwnProperty(Runtime& runtime, LiveControl& control, std::int32_t ownIndex,
                               OwnValue& value) = 0;
  virtual std::vector<std::uint8_t> SaveKindPropertyBlock(LiveControl& control) = 0;
};

}  // namespace pelmora
