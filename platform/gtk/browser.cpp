// The web browser: a WebKitWebView in the browser host, its signals reported through
// BrowserEvents in the run time's terms.
#include <webkit2/webkit2.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "platform/gtk/native_window.h"
#include "platform/codec/text_codec.h"

namespace pelmora::gtk {
namespace {

// Text sizes 0..4 as text-only zoom factors around the normal size.
constexpr std::array<double, 5> kTextZoom = {0.8, 0.9, 1.0, 1.15, 1.3};

class WebKitBrowser;

void ClosePopUpSoon(GtkWidget* window) {
  g_idle_add_full(
      G_PRIORITY_DEFAULT_IDLE,
      [](gpointer data) -> gboolean {
        gtk_widget_destroy(GTK_WIDGET(data));
        return G_SOURCE_REMOVE;
      },
      g_object_ref(window), g_object_unref);
}

// Pop-ups the page opens (and the user did not cancel) live in top-level windows of their own.
GtkWidget* OpenPopUp(WebKitWebView* opener) {
  GtkWidget* view = webkit_web_view_new_with_related_view(opener);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
  gtk_container_add(GTK_CONTAINER(window), view);
  g_signal_connect_swapped(view, "ready-to-show", G_CALLBACK(gtk_widget_show_all), window);
  g_signal_connect_swapped(view, "close", G_CALLBACK(gtk_widget_destroy), window);
  // A pop-up shares its opener's web process. When that process ends (a held page was ended
  // for the next navigation, or it failed), the pop-up's page is gone and can neither close
  // itself nor be shown again: its window goes too, rather than piling up empty.
  // WebKit goes on using the view after the signal, so the window goes once it has returned.
  g_signal_connect_swapped(view, "web-process-terminated", G_CALLBACK(ClosePopUpSoon), window);
  return view;
}

class WebKitBrowser final : public platform::Browser {
 public:
  WebKitBrowser(NativeWindow& host, platform::BrowserEvents& events)
      : events_(events), hostHandle_(host.handle) {
    view_ = WEBKIT_WEB_VIEW(webkit_web_view_new());
    g_object_ref_sink(view_);
    WebKitSettings* settings = webkit_web_view_get_settings(view_);
    webkit_settings_set_zoom_text_only(settings, TRUE);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);
    GtkWidget* widget = GTK_WIDGET(view_);
    gtk_widget_add_events(widget, GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK);
    gtk_fixed_put(GTK_FIXED(host.client), widget, 0, 0);
    gtk_widget_set_size_request(widget, host.bounds.width, host.bounds.height);
    gtk_widget_show(widget);

    // The page's own window: input aimed at the page names it, not the host.
    auto record = std::make_unique<NativeWindow>();
    record->windowClass = platform::WindowClass::BrowserHost;
    record->browserView = true;
    record->widget = widget;
    record->parent = host.handle;
    record->bounds = {0, 0, host.bounds.width, host.bounds.height};
    record->visible = true;
    viewHandle_ = Register(std::move(record));
    host.children.insert(host.children.begin(), viewHandle_);

    g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
    g_signal_connect(view_, "load-failed", G_CALLBACK(OnLoadFailed), this);
    g_signal_connect(view_, "notify::estimated-load-progress", G_CALLBACK(OnProgress), this);
    g_signal_connect(view_, "notify::title", G_CALLBACK(OnTitle), this);
    g_signal_connect(view_, "mouse-target-changed", G_CALLBACK(OnMouseTarget), this);
    g_signal_connect(view_, "create", G_CALLBACK(OnCreate), this);
    g_signal_connect(view_, "script-dialog", G_CALLBACK(OnScriptDialog), this);
    g_signal_connect(webkit_web_view_get_back_forward_list(view_), "changed",
                     G_CALLBACK(OnHistoryChanged), this);
    g_signal_connect(view_, "destroy", G_CALLBACK(OnViewDestroyed), this);
  }

  ~WebKitBrowser() override {
    *alive_ = false;
    if (heldPageWatch_ != 0) g_source_remove(heldPageWatch_);
    ForgetShownDialog();
    if (view_ == nullptr) return;
    g_signal_handlers_disconnect_by_data(view_, this);
    g_signal_handlers_disconnect_by_data(webkit_web_view_get_back_forward_list(view_), this);
    ForgetViewRecord();
    gtk_widget_destroy(GTK_WIDGET(view_));
    g_object_unref(view_);
  }

  void Navigate(std::string_view address) override {
    if (view_ == nullptr) return;
    requestedUri_ = platform::Cp936ToUtf8(address);
    if (loadAwaited_ && heldPageWatch_ != 0) {
      // The page may be held: more loads would only queue up in WebKit, which keeps every one
      // of them (measured: about a third of a MiB per second of 10 ms reloads). The watch
      // loads the latest address asked for.
      navigationDeferred_ = true;
      return;
    }
    loadAwaited_ = true;
    if (dialogSinceLoadStarted_) WatchForAHeldPage();
    webkit_web_view_load_uri(view_, requestedUri_.c_str());
  }

  void Zoom(std::int32_t level) override {
    if (view_ == nullptr) return;
    std::int32_t clamped = level < 0 ? 0 : level > 4 ? 4 : level;
    webkit_web_view_set_zoom_level(view_, kTextZoom[static_cast<std::size_t>(clamped)]);
  }

  void PutOffline(bool offline) override {
    if (offline && !offlineNoted_) {
      offlineNoted_ = true;
      std::fprintf(stderr,
                   "pelmora: WebKit has no offline mode; the setting is kept but pages are "
                   "still fetched from the network\n");
    }
    offline_ = offline;
  }
  bool GetOffline() override { return offline_; }
  void PutSilent(bool silent) override { silent_ = silent; }
  bool GetSilent() override { return silent_; }

  std::string LocationUrl() override {
    const gchar* uri = view_ == nullptr ? nullptr : webkit_web_view_get_uri(view_);
    return uri == nullptr ? std::string() : platform::Utf8ToCp936(uri);
  }

  std::string LocationName() override {
    const gchar* title = view_ == nullptr ? nullptr : webkit_web_view_get_title(view_);
    return title == nullptr ? std::string() : platform::Utf8ToCp936(title);
  }

  void FitTo(platform::Size hostClient) override {
    if (view_ == nullptr) return;
    gtk_widget_set_size_request(GTK_WIDGET(view_), hostClient.width, hostClient.height);
    if (NativeWindow* record = Find(viewHandle_)) {
      record->bounds = {0, 0, hostClient.width, hostClient.height};
    }
  }

  void TakeFocus() override {
    if (view_ != nullptr) gtk_widget_grab_focus(GTK_WIDGET(view_));
  }

  bool WindowExists() override { return view_ != nullptr; }

 private:
  // The run time may destroy the browser from inside any event it is told of: after each
  // report, go on only if this object still lives.
  using AliveFlag = std::shared_ptr<bool>;

  // A page's script waits in its web process while one of its dialogs is open, and a page
  // that raises dialogs in a loop (answered by the user, or at once when silent) never lets
  // that process take the next navigation: the program's reloads would stop for good. So a
  // navigation asked for after the page raised a dialog is watched; if its load has not
  // started a second later, the page's web process is ended and the load asked for again,
  // which WebKit serves from a fresh process. A page that only showed an alert and went on
  // is not touched: its navigation starts well within the second.
  static constexpr guint kHeldPageGraceMs = 1000;

  void WatchForAHeldPage() {
    if (heldPageWatch_ != 0) return;
    heldPageWatch_ = g_timeout_add_full(
        G_PRIORITY_DEFAULT, kHeldPageGraceMs,
        [](gpointer data) -> gboolean {
          auto* self = static_cast<WebKitBrowser*>(data);
          self->heldPageWatch_ = 0;
          bool deferred = std::exchange(self->navigationDeferred_, false);
          if (self->view_ == nullptr) return G_SOURCE_REMOVE;
          if (self->loadAwaited_ && self->dialogSinceLoadStarted_) {
            self->EndHeldPage();
          } else if (deferred) {
            // The page was not held after all: the latest navigation goes ahead now.
            self->loadAwaited_ = true;
            webkit_web_view_load_uri(self->view_, self->requestedUri_.c_str());
          }
          return G_SOURCE_REMOVE;
        },
        this, nullptr);
  }

  void EndHeldPage() {
    if (!heldPageNoted_) {
      heldPageNoted_ = true;
      std::fprintf(stderr,
                   "pelmora: the page kept its script in dialogs and did not take the next "
                   "navigation; its web process was ended to load the page asked for (noted "
                   "once)\n");
    }
    dialogSinceLoadStarted_ = false;
    // Ending the process under an open dialog leaves WebKit's side of the dialog behind
    // (measured: about 0.2 MiB each time); closed first, only WebKit's own cost of an ended
    // process stays (about 45 KB). Closing a dialog the user already answered does nothing.
    if (shownDialog_ != nullptr) webkit_script_dialog_close(shownDialog_);
    ForgetShownDialog();
    webkit_web_view_terminate_web_process(view_);
    webkit_web_view_load_uri(view_, requestedUri_.c_str());
  }

  void ForgetShownDialog() {
    if (shownDialog_ != nullptr) webkit_script_dialog_unref(shownDialog_);
    shownDialog_ = nullptr;
  }

  static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
      AliveFlag alive = self->alive_;
      bool cancel = self->events_.OnNewWindow();
      if (cancel) {
        webkit_policy_decision_ignore(decision);
        return TRUE;
      }
      // The `create` that follows opens the window without asking again.
      if (*alive) self->newWindowApproved_ = true;
      return FALSE;
    }
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
    // The page's process is answering: the navigation was taken (even if cancelled below).
    self->loadAwaited_ = false;
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const gchar* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (self->events_.OnBeforeNavigate(platform::Utf8ToCp936(uri != nullptr ? uri : ""))) {
      webkit_policy_decision_ignore(decision);
      return TRUE;
    }
    return FALSE;
  }

  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    AliveFlag alive = self->alive_;
    switch (event) {
      case WEBKIT_LOAD_STARTED:
        self->loadAwaited_ = false;
        self->dialogSinceLoadStarted_ = false;
        self->ForgetShownDialog();
        self->failedUri_.clear();
        self->events_.OnDownloadBegin();
        return;
      case WEBKIT_LOAD_COMMITTED:
        self->events_.OnNavigateComplete(self->CurrentUri(view));
        return;
      case WEBKIT_LOAD_FINISHED: {
        std::string uri = self->CurrentUri(view);
        self->events_.OnDownloadComplete();
        if (!*alive) return;
        self->events_.OnDocumentComplete(uri);
        return;
      }
      default:
        return;
    }
  }

  // A failed load finishes with no address; the document reported is the one that failed.
  static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* failingUri, GError*,
                               gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    self->failedUri_ = failingUri != nullptr ? failingUri : "";
    return FALSE;
  }

  std::string CurrentUri(WebKitWebView* view) const {
    const gchar* uri = webkit_web_view_get_uri(view);
    if ((uri == nullptr || *uri == '\0') && !failedUri_.empty()) return platform::Utf8ToCp936(failedUri_);
    return platform::Utf8ToCp936(uri != nullptr ? uri : "");
  }

  static void OnProgress(WebKitWebView* view, GParamSpec*, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    double progress = webkit_web_view_get_estimated_load_progress(view);
    self->events_.OnProgressChange(static_cast<std::int32_t>(progress * 100 + 0.5), 100);
  }

  static void OnTitle(WebKitWebView* view, GParamSpec*, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    const gchar* title = webkit_web_view_get_title(view);
    self->events_.OnTitleChange(platform::Utf8ToCp936(title != nullptr ? title : ""));
  }

  static void OnMouseTarget(WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    std::string status;
    if (webkit_hit_test_result_context_is_link(hit)) {
      const gchar* link = webkit_hit_test_result_get_link_uri(hit);
      status = platform::Utf8ToCp936(link != nullptr ? link : "");
    }
    if (status == self->statusText_) return;
    self->statusText_ = status;
    self->events_.OnStatusTextChange(status);
  }

  static void OnHistoryChanged(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer,
                               gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    AliveFlag alive = self->alive_;
    bool forward = webkit_web_view_can_go_forward(self->view_);
    bool back = webkit_web_view_can_go_back(self->view_);
    if (forward != self->canGoForward_) {
      self->canGoForward_ = forward;
      self->events_.OnCommandStateChange(1, forward);
      if (!*alive) return;
    }
    if (back != self->canGoBack_) {
      self->canGoBack_ = back;
      self->events_.OnCommandStateChange(2, back);
    }
  }

  // window.open() comes here without a policy decision; a link with a target comes here after
  // the new-window decision was let through.
  static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction*, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    if (!self->newWindowApproved_) {
      AliveFlag alive = self->alive_;
      if (self->events_.OnNewWindow() || !*alive) return nullptr;
    }
    self->newWindowApproved_ = false;
    return OpenPopUp(view);
  }

  static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    self->dialogSinceLoadStarted_ = true;
    if (!self->silent_) {
      // Kept so that a held page's dialog can be closed before its process is ended. The
      // reference does not hold the page up: WebKit's own dialog answers it when the user
      // does (checked: the page's script goes on after OK).
      self->ForgetShownDialog();
      self->shownDialog_ = webkit_script_dialog_ref(dialog);
      return FALSE;
    }
    // Silent: no dialog; a question is answered "cancel", a prompt with nothing.
    if (webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_CONFIRM ||
        webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) {
      webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
    }
    return TRUE;
  }

  // The view went with its host's widgets before the browser object was deleted.
  static void OnViewDestroyed(GtkWidget*, gpointer data) {
    auto* self = static_cast<WebKitBrowser*>(data);
    g_signal_handlers_disconnect_by_data(self->view_, self);
    g_signal_handlers_disconnect_by_data(webkit_web_view_get_back_forward_list(self->view_), self);
    self->ForgetViewRecord();
    g_object_unref(self->view_);
    self->view_ = nullptr;
  }

  void ForgetViewRecord() {
    if (NativeWindow* host = Find(hostHandle_)) {
      auto& children = host->children;
      std::erase(children, viewHandle_);
    }
    ForgetFocus(viewHandle_);
    Unregister(viewHandle_);
  }

  platform::BrowserEvents& events_;
  WindowHandle hostHandle_;
  WindowHandle viewHandle_ = WindowHandle::None;
  WebKitWebView* view_ = nullptr;
  AliveFlag alive_ = std::make_shared<bool>(true);
  bool offline_ = false;
  bool offlineNoted_ = false;
  bool silent_ = false;
  bool newWindowApproved_ = false;
  bool canGoBack_ = false;
  // The watch for a page held by its dialogs (see WatchForAHeldPage).
  std::string requestedUri_;
  bool loadAwaited_ = false;
  bool dialogSinceLoadStarted_ = false;
  bool heldPageNoted_ = false;
  bool navigationDeferred_ = false;
  WebKitScriptDialog* shownDialog_ = nullptr;  // the page's open dialog, when not silent
  guint heldPageWatch_ = 0;
  bool canGoForward_ = false;
  std::string statusText_;
  std::string failedUri_;
};

}  // namespace
}  // namespace pelmora::gtk

namespace pelmora::platform {

std::unique_ptr<Browser> CreateBrowser(WindowHandle host, BrowserEvents& events) {
  gtk::NativeWindow* record = gtk::Find(host);
  if (record == nullptr || record->windowClass != WindowClass::BrowserHost ||
      record->client == nullptr || record->browserView) {
    return nullptr;
  }
  return std::make_unique<gtk::WebKitBrowser>(*record, events);
}

}  // namespace pelmora::platform
