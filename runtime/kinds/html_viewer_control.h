// One live HTML viewer: a host window of the form with the browser inside it. The control is
// the host window's procedure and the browser's event sink; it frees itself after the host
// window's final message.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "runtime/control_kind.h"
#include "runtime/ids.h"
#include "runtime/kinds/html_viewer_block.h"
#include "runtime/runtime.h"

namespace pelmora {

class HtmlViewerControl final : public LiveControl,
                                public platform::WindowProcedure,
                                public platform::BrowserEvents {
 public:
  // Creates the host window and the browser in it and applies the stored values. Null when
  // the host window or the browser cannot be made; nothing remains then.
  static HtmlViewerControl* Create(Runtime& runtime, const KindCreation& creation,
                                   HtmlViewerBlock stored);

  platform::WindowHandle Window() const override { return host_; }

  // Own properties by own index (property number - 8). Writes ignore the read-only ones;
  // reads answer false for an index the kind does not have. A text read points into the
  // control's storage.
  void Write(std::int32_t ownIndex, const OwnValue& value);
  bool Read(std::int32_t ownIndex, OwnValue& value);
  HtmlViewerBlock Stored() const { return stored_; }

  // platform::WindowProcedure
  std::intptr_t OnMessage(const platform::Message& message) override;

  // platform::BrowserEvents
  bool OnBeforeNavigate(std::string_view url) override;
  void OnNavigateComplete(std::string_view url) override;
  void OnDownloadBegin() override;
  void OnProgressChange(std::int32_t progress, std::int32_t maximum) override;
  void OnDownloadComplete() override;
  void OnDocumentComplete(std::string_view url) override;
  void OnStatusTextChange(std::string_view text) override;
  void OnTitleChange(std::string_view title) override;
  void OnCommandStateChange(std::int32_t command, bool enabled) override;
  bool OnNewWindow() override;

 private:
  HtmlViewerControl(Runtime& runtime, WindowId windowId, ControlId controlId,
                    HtmlViewerBlock stored);
  ~HtmlViewerControl() override;

  void WriteTextSize(std::int32_t level);
  void WriteAddress(const char* text);
  void Navigate();
  void Raise(EventNumber event);
  const std::string& ReadAddress();
  const std::string& ReadPageTitle();

  EventNotice Notice(EventNumber event) const;
  // Raises an event during which Address reads the event's address. The handler may destroy
  // the window and with it this control.
  bool RaiseNavigationEvent(EventNumber event, std::string_view url);
  void RaiseTitleEvent(std::string_view title);

  Runtime& runtime_;
  const WindowId windowId_;
  const ControlId controlId_;
  HtmlViewerBlock stored_;

  // Plain flags, not counters: a nested event of the same group ends them for the outer
  // handler too.
  bool insideNavigationEvent_ = false;
  std::string eventAddress_;
  bool insideTitleEvent_ = false;
  std::string eventTitle_;

  std::string statusText_;
  std::string pageTitle_;  // the last title read outside TitleChanged

  platform::WindowHandle host_ = platform::WindowHandle::None;
  // Shared so that a call into the browser can keep it alive when a handler run from inside
  // that call destroys the window.
  std::shared_ptr<platform::Browser> browser_;
  // Until the run time holds the control, its end is no news to the run time.
  bool handedOver_ = false;
};

}  // namespace pelmora
