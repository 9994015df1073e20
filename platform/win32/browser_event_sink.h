// Receives the WebBrowser control's DWebBrowserEvents2 (a dispatch interface: every event
// arrives through Invoke with its dispatch id) and reports them to the run time's
// BrowserEvents, with the Cancel outputs set from the answers.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/platform.h"

namespace pelmora::platform::win32 {

class BrowserEventSink final : public IDispatch {
 public:
  explicit BrowserEventSink(BrowserEvents& events) : events_(&events) {}
  BrowserEventSink(const BrowserEventSink&) = delete;
  BrowserEventSink& operator=(const BrowserEventSink&) = delete;

  // From now on events reach nobody: the browser is being released.
  void Detach() { events_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* badArgument) override;

 private:
  ~BrowserEventSink() = default;
  void Report(DISPID id, const DISPPARAMS& parameters);

  LONG references_ = 1;
  BrowserEvents* events_;
};

}  // namespace pelmora::platform::win32
