// Screen metrics, text measuring and painting on a canvas that records what is drawn.
#include <cstdlib>

#include "platform/sim/world.h"

namespace pelmora::sim::detail {
namespace {

class RecordingCanvas final : public platform::Canvas {
 public:
  explicit RecordingCanvas(Rect client) : invalid_(client) {}

  Rect InvalidRect() const override { return invalid_; }
  void FillRect(Rect area, Colour colour) override { record_.fills.emplace_back(area, colour); }
  void SelectFont(const platform::FontSpec&) override {}
  void DrawTextIn(std::string_view text, Rect area, std::uint32_t flags,
                  Colour colour) override {
    record_.texts.push_back(PaintRecord::Text{std::string(text), area, flags, colour});
  }
  void SetClip(Rect) override {}

  PaintRecord Take() { return std::move(record_); }

 private:
  Rect invalid_;
  PaintRecord record_;
};

}  // namespace
}  // namespace pelmora::sim::detail

namespace pelmora::platform {

using namespace sim::detail;

Size ScreenSize() { return Size{1280, 1024}; }

// One monitor; the task bar takes the bottom 40 pixels.
Rect WorkAreaNear(WindowHandle) { return Rect{0, 0, 1280, 984}; }

std::int32_t EdgeHeight() { return 2; }

Colour FaceColour() { return 0x00F0F0F0; }

Size MeasureText(const FontSpec& font, std::string_view text) {
  std::int32_t height = 13;
  if (font.logFont) {
    const auto& bytes = *font.logFont;  // lfHeight: the first field, little-endian
    const auto logicalHeight = static_cast<std::int32_t>(
        bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
    if (logicalHeight != 0) height = std::abs(logicalHeight);
  }
  return Size{static_cast<std::int32_t>(text.size()) * 6, height};
}

}  // namespace pelmora::platform

namespace pelmora::sim {

using namespace detail;

PaintRecord PaintNow(platform::WindowHandle handle) {
  SimWindow* window = FindLiving(handle);
  if (window == nullptr) return {};
  const platform::Size client = ClientSize(*window);
  RecordingCanvas canvas(platform::Rect{0, 0, client.width, client.height});
  Send(handle, vocab::msg::Paint, 0,
       reinterpret_cast<std::intptr_t>(static_cast<platform::Canvas*>(&canvas)));
  if (SimWindow* painted = Find(handle)) painted->needsPaint = false;
  return canvas.Take();
}

}  // namespace pelmora::sim
