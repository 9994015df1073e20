// A small frame with a label, an edit box, a button and a web view showing a local page, made
// through the platform seam alone, for looking at (and a screenshot). Runs until the frame is
// closed or, with a number of seconds as its argument, until that time has passed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"

namespace {

using namespace pelmora;
using platform::WindowHandle;

struct DemoProcedure final : platform::WindowProcedure {
  std::intptr_t OnMessage(const platform::Message& message) override {
    if (message.id == vocab::msg::Close) platform::DestroyNativeWindow(message.window);
    if (message.id == vocab::msg::NcDestroy) platform::PostQuit(0);
    if (message.id == vocab::msg::Timer) platform::PostQuit(0);
    if (message.id == vocab::msg::Paint) {
      auto* canvas = reinterpret_cast<platform::Canvas*>(message.lParam);
      platform::Size size = platform::ClientSizeOf(message.window);
      canvas->FillRect({0, 0, size.width, size.height}, platform::FaceColour());
    }
    return 0;
  }
};

struct LabelProcedure final : platform::WindowProcedure {
  std::intptr_t OnMessage(const platform::Message& message) override {
    if (message.id != vocab::msg::Paint) return 0;
    auto* canvas = reinterpret_cast<platform::Canvas*>(message.lParam);
    platform::Size size = platform::ClientSizeOf(message.window);
    canvas->FillRect({0, 0, size.width, size.height}, platform::FaceColour());
    canvas->DrawTextIn(platform::TextOf(message.window), {0, 0, size.width, size.height},
                       vocab::dt::SingleLine | vocab::dt::VCenter, 0x000000);
    return 0;
  }
};

// Tells on stderr how the page is coming along.
struct TellingEvents final : platform::BrowserEvents {
  bool OnBeforeNavigate(std::string_view url) override {
    std::fprintf(stderr, "demo: navigating to %.*s\n", static_cast<int>(url.size()), url.data());
    return false;
  }
  void OnNavigateComplete(std::string_view) override {}
  void OnDownloadBegin() override {}
  void OnProgressChange(std::int32_t, std::int32_t) override {}
  void OnDownloadComplete() override {}
  void OnDocumentComplete(std::string_view url) override {
    std::fprintf(stderr, "demo: document complete %.*s\n", static_cast<int>(url.size()),
                 url.data());
  }
  void OnStatusTextChange(std::string_view) override {}
  void OnTitleChange(std::string_view) override {}
  void OnCommandStateChange(std::int32_t, bool) override {}
  bool OnNewWindow() override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  if (!platform::StartComponentServices()) return 1;
  std::string page = "/tmp/pelmora-demo-page.html";
  if (FILE* file = std::fopen(page.c_str(), "w")) {
    std::fputs("<html><body style='background:#2a7ab0;color:white;font:20px sans-serif'>"
               "<h1>Pelmora</h1><p>A local page in the web view.</p></body></html>",
               file);
    std::fclose(file);
  }
  DemoProcedure frameProcedure;
  LabelProcedure labelProcedure;
  TellingEvents events;
  namespace style = vocab::style;
  platform::WindowSpec frame;
  frame.windowClass = platform::WindowClass::Frame;
  frame.style = style::Caption | style::SystemMenu | style::MinimizeBox | style::ClipChildren;
  frame.rect = {50, 50, 602, 380};
  frame.text = "Pelmora \xD1\xDD\xCA\xBE";  // 演示
  frame.procedure = &frameProcedure;
  WindowHandle window = platform::CreateNativeWindow(frame);

  auto child = [&](platform::WindowClass windowClass, platform::Rect rect, std::string_view text,
                   platform::WindowProcedure* procedure) {
    platform::WindowSpec request;
    request.windowClass = windowClass;
    request.style = style::Child | style::Visible;
    request.rect = rect;
    request.parent = window;
    request.text = text;
    request.procedure = procedure;
    return platform::CreateNativeWindow(request);
  };
  WindowHandle host = child(platform::WindowClass::BrowserHost, {0, 0, 600, 304}, "", nullptr);
  child(platform::WindowClass::Label, {16, 317, 32, 24}, "\xCD\xF8\xD6\xB7", &labelProcedure);  // 网址
  child(platform::WindowClass::Edit, {49, 312, 208, 32}, "file:///tmp/pelmora-demo-page.html",
        nullptr);
  child(platform::WindowClass::Button, {432, 309, 72, 40}, "\xD7\xD4\xB6\xAF\xCB\xA2\xD0\xC2",
        nullptr);  // 自动刷新
  auto browser = platform::CreateBrowser(host, events);
  browser->Navigate("file:///tmp/pelmora-demo-page.html");
  platform::ShowNativeWindow(window, vocab::Show::Show);
  if (argc > 1) platform::StartTimer(window, 1, static_cast<std::uint32_t>(std::atoi(argv[1])) * 1000);
  int code = platform::RunMessageLoop();
  browser.reset();
  return code;
}
