#include "runtime/kinds/html_viewer_control.h"

#include <algorithm>
#include <utility>

#include "runtime/kinds/html_viewer_kind.h"
#include "runtime/kinds/html_viewer_progress.h"

namespace pelmora {

namespace {

using platform::WindowHandle;

constexpr std::int32_t Own(PropertyNumber property) {
  return property - common_property::FirstOwn;
}

std::int32_t ClampedTextSize(std::int32_t level) { return std::clamp(level, 0, 4); }

// A handler cancels by returning false; no handler, no value or any other value lets the
// browser go on.
bool CancelledBy(bool handlerRan, const EventNotice& notice) {
  return handlerRan && notice.hasResult == 1 && notice.result == 0;
}

}  // namespace

HtmlViewerControl::HtmlViewerControl(Runtime& runtime, WindowId windowId, ControlId controlId,
                                     HtmlViewerBlock stored)
    : runtime_(runtime), windowId_(windowId), controlId_(controlId), stored_(std::move(stored)) {}

HtmlViewerControl::~HtmlViewerControl() = default;

HtmlViewerControl* HtmlViewerControl::Create(Runtime& runtime, const KindCreation& creation,
                                             HtmlViewerBlock stored) {
  auto* control =
      new HtmlViewerControl(runtime, creation.windowId, creation.controlId, std::move(stored));

  platform::WindowSpec request = ControlWindowRequest(creation, platform::WindowClass::BrowserHost);
  request.style = creation.style | vocab::style::Child | vocab::style::ClipSiblings;
  request.procedure = control;
  const WindowHandle host = platform::CreateNativeWindow(request);
  if (host == WindowHandle::None) {
    delete control;  // no window: no message will ever free it
    return nullptr;
  }
  control->host_ = host;

  platform::EnableControlContainment();
  control->browser_ = platform::CreateBrowser(host, *control);
  if (!control->browser_) {
    platform::DestroyNativeWindow(host);  // its final message frees the control
    return nullptr;
  }

  // The browser's answers to these are not checked, as for every later write.
  control->browser_->PutOffline(control->stored_.offline != 0);
  control->browser_->PutSilent(control->stored_.silent != 0);
  // Applied clamped, but the stored level stays as the block gave it until it is written.
  control->browser_->Zoom(ClampedTextSize(control->stored_.textSize));
  if (!control->stored_.address.empty()) {
    control->Navigate();
    // The browser may report from inside Navigate. Handlers are held back while a window
    // loads, but should the host be gone all the same, the control went with it: fail
    // instead of handing out a freed control.
    if (!platform::WindowExists(host)) return nullptr;
  }
  control->handedOver_ = true;
  return control;
}

// ---- Properties ------------------------------------------------------------------------------

void HtmlViewerControl::Write(std::int32_t ownIndex, const OwnValue& value) {
  switch (ownIndex) {
    case Own(html_viewer::TextSize):
      WriteTextSize(static_cast<std::int32_t>(value.low));
      break;
    case Own(html_viewer::Offline):
      stored_.offline = value.low != 0 ? 1 : 0;
      if (browser_) browser_->PutOffline(stored_.offline != 0);
      break;
    case Own(html_viewer::Silent):
      stored_.silent = value.low != 0 ? 1 : 0;
      if (browser_) browser_->PutSilent(stored_.silent != 0);
      break;
    case Own(html_viewer::Address):
      WriteAddress(value.text);
      break;
    default:
      // StatusText, PageTitle and DesignerPreview only report; unknown indexes do nothing.
      break;
  }
}

bool HtmlViewerControl::Read(std::int32_t ownIndex, OwnValue& value) {
  switch (ownIndex) {
    case Own(html_viewer::TextSize):
      value.low = static_cast<std::uint32_t>(stored_.textSize);
      return true;
    case Own(html_viewer::Offline):
      value.low = (browser_ ? browser_->GetOffline() : stored_.offline != 0) ? 1 : 0;
      return true;
    case Own(html_viewer::Silent):
      value.low = (browser_ ? browser_->GetSilent() : stored_.silent != 0) ? 1 : 0;
      return true;
    case Own(html_viewer::Address):
      value.text = ReadAddress().c_str();
      return true;
    case Own(html_viewer::StatusText):
      value.text = statusText_.c_str();
      return true;
    case Own(html_viewer::PageTitle):
      value.text = ReadPageTitle().c_str();
      return true;
    case Own(html_viewer::DesignerPreview):
      value.low = 0;
      return true;
    default:
      return false;
  }
}

void HtmlViewerControl::WriteTextSize(std::int32_t level) {
  stored_.textSize = ClampedTextSize(level);
  if (browser_) browser_->Zoom(stored_.textSize);
}

void HtmlViewerControl::WriteAddress(const char* text) {
  stored_.address = text != nullptr ? text : "";
  // Every write navigates, also to the address already shown and to the empty text: a page
  // refresher depends on a rewrite loading again.
  Navigate();
}

void HtmlViewerControl::Navigate() {
  if (!browser_) return;
  // The browser may report the navigation's start from inside Navigate, and a handler of that
  // event may write Address again or destroy the window. The target and the browser are
  // therefore held here, not in the control, until the call returns.
  const std::string target = stored_.address;
  const std::shared_ptr<platform::Browser> browser = browser_;
  browser->Navigate(target);
}

const std::string& HtmlViewerControl::ReadAddress() {
  if (insideNavigationEvent_) {
    stored_.address = eventAddress_;
  } else if (browser_) {
    stored_.address = browser_->LocationUrl();
  }
  return stored_.address;
}

const std::string& HtmlViewerControl::ReadPageTitle() {
  if (insideTitleEvent_) return eventTitle_;
  if (browser_) pageTitle_ = browser_->LocationName();
  return pageTitle_;
}

// ---- Host window -------------------------------------------------------------------------------

std::intptr_t HtmlViewerControl::OnMessage(const platform::Message& message) {
  switch (message.id) {
    case vocab::msg::Size:
      if (browser_) browser_->FitTo(platform::ClientSizeOf(message.window));
      return 0;
    case vocab::msg::SetFocus:
      // The host itself has nothing to type into: the page takes the keys.
      if (browser_ && browser_->WindowExists()) browser_->TakeFocus();
      return 0;
    case vocab::msg::Destroy:
      browser_.reset();
      return 0;
    case vocab::msg::NcDestroy:
      if (handedOver_) runtime_.ControlDestroyed(windowId_, controlId_);
      delete this;
      return 0;
    default:
      return 0;
  }
}

// ---- Browser events ----------------------------------------------------------------------------

EventNotice HtmlViewerControl::Notice(EventNumber event) const {
  EventNotice notice;
  notice.windowId = windowId_;
  notice.controlId = controlId_;
  notice.eventNumber = event;
  return notice;
}

void HtmlViewerControl::Raise(EventNumber event) {
  EventNotice notice = Notice(event);
  runtime_.RaiseEvent(notice);
}

bool HtmlViewerControl::RaiseNavigationEvent(EventNumber event, std::string_view url) {
  const WindowHandle host = host_;
  insideNavigationEvent_ = true;
  eventAddress_.assign(url);
  EventNotice notice = Notice(event);
  const bool handlerRan = runtime_.RaiseEvent(notice);
  // A handler that destroyed the window has freed this control: only locals from here on.
  if (platform::WindowExists(host)) {
    insideNavigationEvent_ = false;
    eventAddress_.clear();
  }
  return CancelledBy(handlerRan, notice);
}

void HtmlViewerControl::RaiseTitleEvent(std::string_view title) {
  const WindowHandle host = host_;
  insideTitleEvent_ = true;
  eventTitle_.assign(title);
  EventNotice notice = Notice(html_viewer::TitleChanged);
  runtime_.RaiseEvent(notice);
  // A handler that destroyed the window has freed this control: only locals from here on.
  if (platform::WindowExists(host)) {
    insideTitleEvent_ = false;
    eventTitle_.clear();
  }
}

bool HtmlViewerControl::OnBeforeNavigate(std::string_view url) {
  return RaiseNavigationEvent(html_viewer::NavigationStarting, url);
}

void HtmlViewerControl::OnNavigateComplete(std::string_view url) {
  RaiseNavigationEvent(html_viewer::NavigationDone, url);
}

void HtmlViewerControl::OnDownloadBegin() { Raise(html_viewer::DownloadStarted); }

void HtmlViewerControl::OnProgressChange(std::int32_t progress, std::int32_t maximum) {
  EventNotice notice = Notice(html_viewer::ProgressChanged);
  notice.argumentCount = 1;
  notice.arguments[0] = static_cast<std::uint32_t>(ProgressPercentage(progress, maximum));
  runtime_.RaiseEvent(notice);
}

void HtmlViewerControl::OnDownloadComplete() { Raise(html_viewer::DownloadFinished); }

void HtmlViewerControl::OnDocumentComplete(std::string_view url) {
  RaiseNavigationEvent(html_viewer::DocumentDone, url);
}

void HtmlViewerControl::OnStatusTextChange(std::string_view text) {
  // Kept after the event: StatusText reads the last text until the next one.
  statusText_.assign(text);
  Raise(html_viewer::StatusTextChanged);
}

void HtmlViewerControl::OnTitleChange(std::string_view title) { RaiseTitleEvent(title); }

void HtmlViewerControl::OnCommandStateChange(std::int32_t command, bool enabled) {
  // Other commands (-1 asks to update them all) concern buttons this control does not have.
  if (command != html_viewer::ForwardCommand && command != html_viewer::BackCommand) return;
  EventNotice notice = Notice(html_viewer::BackForwardChanged);
  notice.argumentCount = 2;
  notice.arguments[0] = command == html_viewer::BackCommand ? 1 : 0;
  notice.arguments[1] = enabled ? 1 : 0;
  runtime_.RaiseEvent(notice);
}

bool HtmlViewerControl::OnNewWindow() {
  EventNotice notice = Notice(html_viewer::NewWindowRequested);
  const bool handlerRan = runtime_.RaiseEvent(notice);
  return CancelledBy(handlerRan, notice);
}

}  // namespace pelmora
