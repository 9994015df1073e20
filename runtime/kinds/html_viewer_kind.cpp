#include "runtime/kinds/html_viewer_kind.h"

#include <array>

#include "runtime/kinds/html_viewer_block.h"
#include "runtime/kinds/html_viewer_control.h"

namespace pelmora {

namespace {

constexpr std::array<PropertyType, 15> kPropertyTypes = {
    PropertyType::Integer, PropertyType::Integer, PropertyType::Integer,
    PropertyType::Integer, PropertyType::Text,    PropertyType::Logical,
    PropertyType::Logical, PropertyType::MousePointer,
    PropertyType::Choice,   // TextSize
    PropertyType::Logical,  // Offline
    PropertyType::Logical,  // Silent
    PropertyType::Address,  // Address
    PropertyType::Text,     // StatusText
    PropertyType::Text,     // PageTitle
    PropertyType::Logical,  // DesignerPreview
};

class HtmlViewerKindImpl final : public ControlKind {
 public:
  KindId Id() const override { return kind_ids::HtmlViewer; }
  std::string_view Name() const override { return "HtmlViewer"; }
  std::span<const PropertyType> PropertyTypes() const override { return kPropertyTypes; }
  KindAttributes Attributes() const override {
    KindAttributes attributes;
    attributes.neverShown = false;
    attributes.mayRaiseEvents = true;
    attributes.holdsPages = false;
    attributes.rebuildAllowed = false;
    attributes.takesFocus = true;
    return attributes;
  }

  LiveControl* CreateKindControl(Runtime& runtime, const KindCreation& creation) override {
    auto block = ReadHtmlViewerBlock(creation.block);
    if (!block) return nullptr;
    return HtmlViewerControl::Create(runtime, creation, std::move(*block));
  }

  // Never asks for a rebuild: every property takes effect on the live browser.
  bool WriteOwnProperty(Runtime& /*runtime*/, LiveControl& control, std::int32_t ownIndex,
                        const OwnValue& value) override {
    static_cast<HtmlViewerControl&>(control).Write(ownIndex, value);
    return false;
  }

  bool ReadOwnProperty(Runtime& /*runtime*/, LiveControl& control, std::int32_t ownIndex,
                       OwnValue& value) override {
    return static_cast<HtmlViewerControl&>(control).Read(ownIndex, value);
  }

  std::vector<std::uint8_t> SaveKindPropertyBlock(LiveControl& control) override {
    return WriteHtmlViewerBlock(static_cast<HtmlViewerControl&>(control).Stored());
  }
};

}  // namespace

ControlKind& HtmlViewerKind() {
  static HtmlViewerKindImpl kind;
  return kind;
}

}  // namespace pelmora
