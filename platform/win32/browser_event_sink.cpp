#include "platform/win32/browser_event_sink.h"

#include <exdisp.h>
#include <exdispid.h>

#include <string>

#include "platform/win32/text_conversion.h"

namespace pelmora::platform::win32 {

namespace {

// Arguments arrive last first: the event's n-th declared parameter is rgvarg[count - 1 - n].
VARIANT* Argument(const DISPPARAMS& parameters, UINT declaredIndex) {
  if (declaredIndex >= parameters.cArgs) return nullptr;
  return &parameters.rgvarg[parameters.cArgs - 1 - declaredIndex];
}

// The value of an argument converted to the wanted type, whether it came by value or by
// reference; an empty variant when it cannot be.
VARIANT ValueOf(VARIANT* argument, VARTYPE type) {
  VARIANT value;
  VariantInit(&value);
  if (argument == nullptr) return value;
  if (FAILED(VariantCopyInd(&value, argument)) ||
      FAILED(VariantChangeType(&value, &value, 0, type))) {
    VariantClear(&value);
  }
  return value;
}

std::string TextOf(const DISPPARAMS& parameters, UINT declaredIndex) {
  VARIANT value = ValueOf(Argument(parameters, declaredIndex), VT_BSTR);
  std::string text;
  if (value.vt == VT_BSTR && value.bstrVal != nullptr) {
    text = Cp936FromWide(std::wstring_view(value.bstrVal, SysStringLen(value.bstrVal)));
  }
  VariantClear(&value);
  return text;
}

std::int32_t IntegerOf(const DISPPARAMS& parameters, UINT declaredIndex) {
  VARIANT value = ValueOf(Argument(parameters, declaredIndex), VT_I4);
  const std::int32_t number = value.vt == VT_I4 ? value.lVal : 0;
  VariantClear(&value);
  return number;
}

bool LogicalOf(const DISPPARAMS& parameters, UINT declaredIndex) {
  VARIANT value = ValueOf(Argument(parameters, declaredIndex), VT_BOOL);
  const bool yes = value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE;
  VariantClear(&value);
  return yes;
}

void SetCancel(const DISPPARAMS& parameters, UINT declaredIndex, bool cancel) {
  VARIANT* argument = Argument(parameters, declaredIndex);
  if (argument != nullptr && argument->vt == (VT_BYREF | VT_BOOL) &&
      argument->pboolVal != nullptr) {
    *argument->pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
  }
}

}  // namespace

HRESULT BrowserEventSink::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, DIID_DWebBrowserEvents2)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG BrowserEventSink::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG BrowserEventSink::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT BrowserEventSink::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT BrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT BrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                 VARIANT*, EXCEPINFO*, UINT*) {
  if (parameters == nullptr) return E_INVALIDARG;
  // A handler may destroy the browser (and release us) while it runs: stay alive until the
  // event is through.
  AddRef();
  Report(id, *parameters);
  Release();
  return S_OK;
}

void BrowserEventSink::Report(DISPID id, const DISPPARAMS& parameters) {
  if (events_ == nullptr) return;
  switch (id) {
    case DISPID_BEFORENAVIGATE2: {  // (disp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
      const bool cancel = events_->OnBeforeNavigate(TextOf(parameters, 1));
      SetCancel(parameters, 6, cancel);
      break;
    }
    case DISPID_NAVIGATECOMPLETE2:  // (disp, URL)
      events_->OnNavigateComplete(TextOf(parameters, 1));
      break;
    case DISPID_DOWNLOADBEGIN:
      events_->OnDownloadBegin();
      break;
    case DISPID_PROGRESSCHANGE:  // (Progress, ProgressMax)
      events_->OnProgressChange(IntegerOf(parameters, 0), IntegerOf(parameters, 1));
      break;
    case DISPID_DOWNLOADCOMPLETE:
      events_->OnDownloadComplete();
      break;
    case DISPID_DOCUMENTCOMPLETE:  // (disp, URL)
      events_->OnDocumentComplete(TextOf(parameters, 1));
      break;
    case DISPID_STATUSTEXTCHANGE:  // (Text)
      events_->OnStatusTextChange(TextOf(parameters, 0));
      break;
    case DISPID_TITLECHANGE:  // (Text)
      events_->OnTitleChange(TextOf(parameters, 0));
      break;
    case DISPID_COMMANDSTATECHANGE:  // (Command, Enable)
      events_->OnCommandStateChange(IntegerOf(parameters, 0), LogicalOf(parameters, 1));
      break;
    case DISPID_NEWWINDOW2: {  // (ppDisp, Cancel)
      const bool cancel = events_->OnNewWindow();
      SetCancel(parameters, 1, cancel);
      break;
    }
    default:
      // PropertyChange, OnQuit, OnVisible, NavigateError and the rest: nothing to report.
      break;
  }
}

}  // namespace pelmora::platform::win32
