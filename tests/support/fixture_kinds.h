// Control kinds for testing the run time without the real ones: a window kind and a child kind
// that record every call the run time makes of them in a shared log, in order.
//
// Log entries (one string each, easy to compare in a test):
//   "create <ControlId hex> child=<childId> style=<hex>"   a control was made
//   "message <ControlId hex> <message hex>"                a private notice (0x806F, 0x8004, 0x8076),
//                                                          also raised as the event of that number
//   "show <ControlId hex>"                                 the window kind's ShowAfterLoad
//   "write <ControlId hex> <own index>"                    WriteOwnProperty
//   "destroyed <ControlId hex>"                            the final message, before ControlDestroyed
//   "starting <KindId hex>", "ending <KindId hex>"         the child kind's module notices
//
// Every timer message that reaches a fixture control's window raises the control's event 0,
// as a timer control does. Pre-translation of a message aimed at a fixture control (or passing
// it on the way up) asks the kind's onPreTranslate, when set, whether the control claims it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "runtime/control_kind.h"
#include "runtime/runtime.h"

namespace pelmora::testing {

struct CallLog {
  std::vector<std::string> entries;
  void Add(std::string entry) { entries.push_back(std::move(entry)); }
  // Index of the first entry equal to `entry`, or -1.
  int IndexOf(const std::string& entry) const;
  int Count(const std::string& entry) const;
};

std::string Hex(std::uint32_t value);

// A value a kind received or will hand out, with its text and bytes held by value.
struct RecordedValue {
  std::uint32_t low = 0;
  std::uint32_t high = 0;
  bool hasText = false;
  std::string text;
  bool hasBytes = false;
  std::vector<std::uint8_t> bytes;
  friend bool operator==(const RecordedValue&, const RecordedValue&) = default;
};

// The top-level window of a description: a WindowClass::Frame window that destroys itself on a
// close request and reports its end to the run time on its final message. Own property 8 is a
// caption (type 1005).
class FixtureWindowKind final : public ControlKind {
 public:
  explicit FixtureWindowKind(CallLog& log) : log_(log) {}

  KindId Id() const override { return kind_ids::Window; }
  std::string_view Name() const override { return "window"; }
  std::span<const PropertyType> PropertyTypes() const override;
  KindAttributes Attributes() const override { return {}; }
  LiveControl* CreateKindControl(Runtime& runtime, const KindCreation& creation) override;
  bool WriteOwnProperty(Runtime& runtime, LiveControl& control, std::int32_t ownIndex,
                        const OwnValue& value) override;
  bool ReadOwnProperty(Runtime& runtime, LiveControl& control, std::int32_t ownIndex,
                       OwnValue& value) override;
  std::vector<std::uint8_t> SaveKindPropertyBlock(LiveControl&) override { return {}; }

  // The next creation fails (the kind returns nothing).
  bool failCreation = false;
  std::function<bool(ControlId, platform::Message&)> onPreTranslate;

 private:
  CallLog& log_;
};

// A child control of any KindId, with a configurable property list and attributes. Its own
// properties store what is written (by own index) and read back what the test put in
// `readValues`. A written value makes it ask for a rebuild while `askRebuild` is set.
class FixtureChildKind final : public ControlKind {
 public:
  FixtureChildKind(CallLog& log, KindId id, std::vector<PropertyType> ownTypes = {},
                   KindAttributes attributes = {});

  KindId Id() const override { return id_; }
  std::string_view Name() const override { return "fixture"; }
  std::span<const PropertyType> PropertyTypes() const override { return types_; }
  KindAttributes Attributes() const override { return attributes_; }
  void ProgramStarting(Runtime&) override { log_.Add("starting " + Hex(id_)); }
  void ProgramEnding(Runtime&) override { log_.Add("ending " + Hex(id_)); }
  LiveControl* CreateKindControl(Runtime& runtime, const KindCreation& creation) override;
  bool WriteOwnProperty(Runtime& runtime, LiveControl& control, std::int32_t ownIndex,
                        const OwnValue& value) override;
  bool ReadOwnProperty(Runtime& runtime, LiveControl& control, std::int32_t ownIndex,
                       OwnValue& value) override;
  std::vector<std::uint8_t> SaveKindPropertyBlock(LiveControl& control) override;

  // What WriteOwnProperty received last, by own index (across all controls of the kind).
  std::map<std::int32_t, RecordedValue> written;
  // What ReadOwnProperty hands out, by own index.
  std::map<std::int32_t, RecordedValue> readValues;
  bool askRebuild = false;
  std::function<bool(ControlId, platform::Message&)> onPreTranslate;
  // Creation of the control with this id fails.
  ControlId failCreationOf = 0;
  // The kind block each creation received, in order.
  std::vector<std::vector<std::uint8_t>> blocks;

 private:
  CallLog& log_;
  KindId id_;
  std::vector<PropertyType> types_;
  KindAttributes attributes_;
};

}  // namespace pelmora::testing
