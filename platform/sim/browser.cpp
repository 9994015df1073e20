// The recording browser: it remembers what the program asked of it and reports only the
// events a test fires. Its record lives as long as the browser object.
#include <cstdio>

#include "platform/sim/world.h"

namespace pelmora::sim::detail {
namespace {

BrowserSlot* SlotOf(std::uint64_t id) {
  auto& browsers = TheWorld().browsers;
  auto found = browsers.find(id);
  return found == browsers.end() ? nullptr : &found->second;
}

// The newest browser hosted in the window.
BrowserSlot* SlotIn(WindowHandle host) {
  auto& browsers = TheWorld().browsers;
  for (auto slot = browsers.rbegin(); slot != browsers.rend(); ++slot) {
    if (slot->second.host == host) return &slot->second;
  }
  return nullptr;
}

BrowserSlot* SlotForEvent(WindowHandle host, const char* event) {
  BrowserSlot* slot = SlotIn(host);
  if (slot == nullptr || slot->events == nullptr) {
    std::fprintf(stderr, "sim: %s fired at a window that hosts no browser\n", event);
    return nullptr;
  }
  return slot;
}

// Whatever a handler queued is processed before a test's call returns.
void Settle() {
  if (TheWorld().processingDepth == 0) ProcessWaiting();
}

class RecordingBrowser final : public platform::Browser {
 public:
  explicit RecordingBrowser(std::uint64_t id) : id_(id) {}
  ~RecordingBrowser() override { TheWorld().browsers.erase(id_); }
  RecordingBrowser(const RecordingBrowser&) = delete;
  RecordingBrowser& operator=(const RecordingBrowser&) = delete;

  void Navigate(std::string_view address) override {
    BrowserSlot* slot = SlotOf(id_);
    if (slot == nullptr) return;
    slot->record.navigations.emplace_back(address);
    const WindowHandle host = slot->host;
    if (const auto& navigated = TheWorld().observer.navigated) navigated(host, address);
  }
  void Zoom(std::int32_t level) override {
    if (BrowserSlot* slot = SlotOf(id_)) slot->record.zooms.push_back(level);
  }
  void PutOffline(bool offline) override {
    if (BrowserSlot* slot = SlotOf(id_)) slot->record.offline = offline;
  }
  bool GetOffline() override {
    BrowserSlot* slot = SlotOf(id_);
    return slot != nullptr && slot->record.offline;
  }
  void PutSilent(bool silent) override {
    if (BrowserSlot* slot = SlotOf(id_)) slot->record.silent = silent;
  }
  bool GetSilent() override {
    BrowserSlot* slot = SlotOf(id_);
    return slot != nullptr && slot->record.silent;
  }
  std::string LocationUrl() override {
    BrowserSlot* slot = SlotOf(id_);
    return slot == nullptr ? std::string{} : slot->record.locationUrl;
  }
  std::string LocationName() override {
    BrowserSlot* slot = SlotOf(id_);
    return slot == nullptr ? std::string{} : slot->record.locationName;
  }
  void FitTo(Size hostClient) override {
    if (BrowserSlot* slot = SlotOf(id_)) slot->record.size = hostClient;
  }
  void TakeFocus() override {
    if (BrowserSlot* slot = SlotOf(id_)) slot->record.focused = true;
  }
  bool WindowExists() override {
    BrowserSlot* slot = SlotOf(id_);
    return slot != nullptr && FindLiving(slot->host) != nullptr;
  }

 private:
  std::uint64_t id_;
};

}  // namespace

void BrowserHostLostFocus(WindowHandle host) {
  if (host == WindowHandle::None) return;
  for (auto& [id, slot] : TheWorld().browsers) {
    if (slot.host == host) slot.record.focused = false;
  }
}

}  // namespace pelmora::sim::detail

namespace pelmora::platform {

using namespace sim::detail;

std::unique_ptr<Browser> CreateBrowser(WindowHandle host, BrowserEvents& events) {
  World& world = TheWorld();
  if (world.browserFault != sim::BrowserFault::None) return nullptr;
  SimWindow* window = FindLiving(host);
  if (window == nullptr) return nullptr;
  const std::uint64_t id = world.nextBrowserId++;
  BrowserSlot slot;
  slot.host = host;
  slot.events = &events;
  slot.record.size = ClientSize(*window);
  world.browsers.emplace(id, std::move(slot));
  return std::make_unique<RecordingBrowser>(id);
}

}  // namespace pelmora::platform

namespace pelmora::sim {

using namespace detail;
using platform::WindowHandle;

BrowserRecord* BrowserIn(WindowHandle host) {
  BrowserSlot* slot = SlotIn(host);
  return slot == nullptr ? nullptr : &slot->record;
}

bool FireBeforeNavigate(WindowHandle host, std::string_view url) {
  BrowserSlot* slot = SlotForEvent(host, "BeforeNavigate");
  if (slot == nullptr) return false;
  const bool cancel = slot->events->OnBeforeNavigate(url);
  Settle();
  return cancel;
}

void FireNavigateComplete(WindowHandle host, std::string_view url) {
  BrowserSlot* slot = SlotForEvent(host, "NavigateComplete");
  if (slot == nullptr) return;
  // The real browser's location changes when a navigation completes.
  slot->record.locationUrl = std::string(url);
  slot->events->OnNavigateComplete(url);
  Settle();
}

void FireDownloadBegin(WindowHandle host) {
  if (BrowserSlot* slot = SlotForEvent(host, "DownloadBegin")) {
    slot->events->OnDownloadBegin();
    Settle();
  }
}

void FireProgressChange(WindowHandle host, std::int32_t progress, std::int32_t maximum) {
  if (BrowserSlot* slot = SlotForEvent(host, "ProgressChange")) {
    slot->events->OnProgressChange(progress, maximum);
    Settle();
  }
}

void FireDownloadComplete(WindowHandle host) {
  if (BrowserSlot* slot = SlotForEvent(host, "DownloadComplete")) {
    slot->events->OnDownloadComplete();
    Settle();
  }
}

void FireDocumentComplete(WindowHandle host, std::string_view url) {
  if (BrowserSlot* slot = SlotForEvent(host, "DocumentComplete")) {
    slot->events->OnDocumentComplete(url);
    Settle();
  }
}

void FireStatusTextChange(WindowHandle host, std::string_view text) {
  if (BrowserSlot* slot = SlotForEvent(host, "StatusTextChange")) {
    slot->events->OnStatusTextChange(text);
    Settle();
  }
}

void FireTitleChange(WindowHandle host, std::string_view title) {
  if (BrowserSlot* slot = SlotForEvent(host, "TitleChange")) {
    slot->record.locationName = std::string(title);
    slot->events->OnTitleChange(title);
    Settle();
  }
}

void FireCommandStateChange(WindowHandle host, std::int32_t command, bool enabled) {
  if (BrowserSlot* slot = SlotForEvent(host, "CommandStateChange")) {
    slot->events->OnCommandStateChange(command, enabled);
    Settle();
  }
}

bool FireNewWindow(WindowHandle host) {
  BrowserSlot* slot = SlotForEvent(host, "NewWindow");
  if (slot == nullptr) return false;
  const bool cancel = slot->events->OnNewWindow();
  Settle();
  return cancel;
}

}  // namespace pelmora::sim
