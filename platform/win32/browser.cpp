// The web browser of the seam: the system's WebBrowser control, in-place activated in the
// host window by our own minimal container (BrowserSite) and driven through IWebBrowser2.
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <cstdio>
#include <memory>

#include "platform/platform.h"
#include "platform/win32/browser_event_sink.h"
#include "platform/win32/browser_site.h"
#include "platform/win32/text_conversion.h"
#include "platform/win32/window_record.h"

namespace pelmora::platform {

namespace {

// The WebBrowser control and its automation interface.
constexpr CLSID kWebBrowserClass = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
constexpr IID kWebBrowser2Interface = {
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
// The child identifier the control's window gets inside its host.
constexpr LONG_PTR kBrowserChildId = 0xE900;
constexpr OLECMDID kZoomCommand = static_cast<OLECMDID>(19);  // OLECMDID_ZOOM

template <typename T>
void ReleaseAndClear(T*& pointer) {
  if (pointer != nullptr) {
    pointer->Release();
    pointer = nullptr;
  }
}

std::string Cp936FromBstr(BSTR text) {
  if (text == nullptr) return {};
  return win32::Cp936FromWide(std::wstring_view(text, SysStringLen(text)));
}

class Win32Browser final : public Browser {
 public:
  Win32Browser(HWND host, BrowserEvents& events)
      : host_(host),
        site_(new win32::BrowserSite(host)),
        sink_(new win32::BrowserEventSink(events)) {}

  ~Win32Browser() override {
    sink_->Detach();
    if (connection_ != nullptr) connection_->Unadvise(cookie_);
    ReleaseAndClear(connection_);
    if (inPlace_ != nullptr) inPlace_->InPlaceDeactivate();
    ReleaseAndClear(inPlace_);
    ReleaseAndClear(web_);
    if (object_ != nullptr) {
      object_->Close(OLECLOSE_NOSAVE);
      object_->SetClientSite(nullptr);
    }
    ReleaseAndClear(object_);
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    site_->Release();
    sink_->Release();
  }

  Win32Browser(const Win32Browser&) = delete;
  Win32Browser& operator=(const Win32Browser&) = delete;

  // Everything the seam promises, or false; the destructor then undoes what was done.
  bool Create() {
    if (FAILED(CoCreateInstance(kWebBrowserClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&object_)))) {
      return false;
    }
    object_->SetClientSite(static_cast<IOleClientSite*>(site_));
    OleSetContainedObject(object_, TRUE);
    RECT client{};
    GetClientRect(host_, &client);
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                               static_cast<IOleClientSite*>(site_), 0, host_, &client))) {
      return false;
    }
    if (FAILED(object_->QueryInterface(kWebBrowser2Interface, reinterpret_cast<void**>(&web_)))) {
      web_ = nullptr;
      return false;
    }
    if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject,
                                          reinterpret_cast<void**>(&inPlace_)))) {
      inPlace_->GetWindow(&window_);
    }
    if (window_ != nullptr) SetWindowLongPtrW(window_, GWLP_ID, kBrowserChildId);
    ConnectEvents();
    return true;
  }

  void Navigate(std::string_view address) override {
    const std::wstring wide = win32::WideFrom936(address);
    // An empty address is still a string, not a null one.
    BSTR url = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    VARIANT flags;
    VariantInit(&flags);
    flags.vt = VT_I4;
    flags.lVal = 0;
    VARIANT targetFrame;
    VariantInit(&targetFrame);
    targetFrame.vt = VT_BSTR;
    targetFrame.bstrVal = nullptr;
    VARIANT postData;
    VariantInit(&postData);
    VARIANT headers;
    VariantInit(&headers);
    headers.vt = VT_BSTR;
    headers.bstrVal = nullptr;
    web_->Navigate(url, &flags, &targetFrame, &postData, &headers);
    SysFreeString(url);
  }

  void Zoom(std::int32_t level) override {
    VARIANT input;
    VariantInit(&input);
    input.vt = VT_I4;
    input.lVal = level;
    web_->ExecWB(kZoomCommand, OLECMDEXECOPT_DONTPROMPTUSER, &input, nullptr);
  }

  void PutOffline(bool offline) override {
    web_->put_Offline(offline ? VARIANT_TRUE : VARIANT_FALSE);
  }

  bool GetOffline() override {
    VARIANT_BOOL offline = VARIANT_FALSE;
    return SUCCEEDED(web_->get_Offline(&offline)) && offline == VARIANT_TRUE;
  }

  void PutSilent(bool silent) override { web_->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE); }

  bool GetSilent() override {
    VARIANT_BOOL silent = VARIANT_FALSE;
    return SUCCEEDED(web_->get_Silent(&silent)) && silent == VARIANT_TRUE;
  }

  std::string LocationUrl() override {
    BSTR url = nullptr;
    if (FAILED(web_->get_LocationURL(&url))) return {};
    std::string text = Cp936FromBstr(url);
    SysFreeString(url);
    return text;
  }

  std::string LocationName() override {
    BSTR name = nullptr;
    if (FAILED(web_->get_LocationName(&name))) return {};
    std::string text = Cp936FromBstr(name);
    SysFreeString(name);
    return text;
  }

  void FitTo(Size hostClient) override {
    const RECT area{0, 0, hostClient.width, hostClient.height};
    if (inPlace_ != nullptr) inPlace_->SetObjectRects(&area, &area);
    if (window_ != nullptr && IsWindow(window_)) {
      SetWindowPos(window_, nullptr, 0, 0, hostClient.width, hostClient.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }

  void TakeFocus() override {
    if (window_ != nullptr && IsWindow(window_)) SetFocus(window_);
  }

  bool WindowExists() override { return window_ != nullptr && IsWindow(window_); }

 private:
  void ConnectEvents() {
    IConnectionPointContainer* container = nullptr;
    if (SUCCEEDED(object_->QueryInterface(IID_IConnectionPointContainer,
                                          reinterpret_cast<void**>(&container)))) {
      if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &connection_)) &&
          FAILED(connection_->Advise(sink_, &cookie_))) {
        ReleaseAndClear(connection_);
      }
      container->Release();
    }
    if (connection_ == nullptr) {
      std::fprintf(stderr, "pelmora: the web browser does not report its events; the page "
                   "view raises none of its events\n");
    }
  }

  HWND host_;
  win32::BrowserSite* site_;
  win32::BrowserEventSink* sink_;
  IOleObject* object_ = nullptr;
  IWebBrowser2* web_ = nullptr;
  IOleInPlaceObject* inPlace_ = nullptr;
  IConnectionPoint* connection_ = nullptr;
  DWORD cookie_ = 0;
  HWND window_ = nullptr;
};

}  // namespace

// A hand-made container needs nothing beyond OLE being initialised on the thread
// (StartComponentServices): the control is created with CoCreateInstance and activated in
// place by our own site. So enabling containment has nothing to do, now or again.
void EnableControlContainment() {}

std::unique_ptr<Browser> CreateBrowser(WindowHandle host, BrowserEvents& events) {
  const HWND hostWindow = win32::ToHwnd(host);
  if (!IsWindow(hostWindow)) return nullptr;
  auto browser = std::make_unique<Win32Browser>(hostWindow, events);
  if (!browser->Create()) return nullptr;  // the destructor removes what was made
  return browser;
}

}  // namespace pelmora::platform
