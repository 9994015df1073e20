#include "tools/form/form_schema.h"

#include <array>
#include <vector>

#include "runtime/kinds/button_kind.h"
#include "runtime/kinds/edit_box_kind.h"
#include "runtime/kinds/label_kind.h"
#include "runtime/kinds/window_block.h"

namespace pelmora::form {
namespace {

// Own property names by own index, as the kinds number them.
constexpr std::array<std::string_view, 24> kWindowNames = {
    "Caption",     "BorderStyle",       "BackColor",       "BackPicture",     "BackPictureLayout",
    "BackMusic",   "BackMusicPlayMode", "ControlBox",      "MaxButton",       "MinButton",
    "Placement",   "Movable",           "Icon",            "EnterMovesFocus", "EscCloses",
    "F1OpensHelp", "HelpFile",          "HelpContext",     "ShowInTaskbar",   "DragAnywhere",
    "Shape",       "AlwaysOnTop",       "KeepTitleActive", "ClassName"};
constexpr std::array<std::string_view, 21> kEditBoxNames = {
    "Content",       "BorderStyle",    "TextColor",   "BackColor",   "Font",
    "HideSelection", "MaxLength",      "MultiLine",   "ScrollBars",  "Alignment",
    "InputMode",     "PasswordChar",   "CaseConversion", "SpinMode", "SpinMinimum",
    "SpinMaximum",   "SelectionStart", "SelectionLength", "SelectedText", "DataSource",
    "DataColumn"};
constexpr std::array<std::string_view, 21> kLabelNames = {
    "Text",                 "TextEffect",           "BorderStyle",        "GradientBorderWidth",
    "GradientBorderColor1", "GradientBorderColor2", "GradientBorderColor3", "Font",
    "TextColor",            "BackColor",            "BackPicture",        "BackPictureLayout",
    "GradientBackMode",     "GradientBackColor1",   "GradientBackColor2", "GradientBackColor3",
    "HorizontalAlignment",  "WordWrap",             "VerticalAlignment",  "DataSource",
    "DataColumn"};
constexpr std::array<std::string_view, 6> kButtonNames = {
    "Picture", "ButtonType", "Caption", "HorizontalAlignment", "VerticalAlignment", "Font"};
constexpr std::array<std::string_view, 1> kTimerNames = {"Period"};
constexpr std::array<std::string_view, 7> kHtmlViewerNames = {
    "TextSize", "Offline", "Silent", "Address", "StatusText", "PageTitle", "DesignerPreview"};

// The timer and the viewer read their blocks with readers of their own; their stored layouts
// are described here in the same terms so that one writer and one reader serve every kind.
constexpr std::array kTimerFields = {BlockField{0, FieldType::Number, 0, 0}};
constexpr BlockLayout kTimerLayout{1, kTimerFields, {}};
constexpr std::array kHtmlViewerFields = {
    BlockField{0, FieldType::Number, 0, 2},
    BlockField{1, FieldType::Number, 0, 0},
    BlockField{2, FieldType::Number, 0, 0},
    BlockField{3, FieldType::Text, 0, 0},
};
constexpr BlockLayout kHtmlViewerLayout{1, kHtmlViewerFields, {}};

}  // namespace

std::string_view KindSchema::FieldName(std::int32_t ownIndex) const {
  if (ownIndex < 0 || static_cast<std::size_t>(ownIndex) >= propertyNames.size()) return {};
  return propertyNames[static_cast<std::size_t>(ownIndex)];
}

const BlockField* KindSchema::FieldNamed(std::string_view fieldName) const {
  for (const BlockField& field : layout->fields) {
    if (FieldName(field.ownIndex) == fieldName) return &field;
  }
  return nullptr;
}

std::span<const KindSchema> KindSchemas() {
  static const std::vector<KindSchema> kSchemas = {
      {kind_ids::Window, "window", &WindowBlockLayout(), kWindowNames},
      {kind_ids::EditBox, "EditBox", &EditBoxBlockLayout(), kEditBoxNames},
      {kind_ids::Label, "Label", &LabelBlockLayout(), kLabelNames},
      {kind_ids::Button, "Button", &ButtonBlockLayout(), kButtonNames},
      {kind_ids::Timer, "Timer", &kTimerLayout, kTimerNames},
      {kind_ids::HtmlViewer, "HtmlViewer", &kHtmlViewerLayout, kHtmlViewerNames},
  };
  return kSchemas;
}

const KindSchema* SchemaOf(KindId kindId) {
  for (const KindSchema& schema : KindSchemas()) {
    if (schema.kindId == kindId) return &schema;
  }
  return nullptr;
}

const KindSchema* SchemaNamed(std::string_view name) {
  for (const KindSchema& schema : KindSchemas()) {
    if (schema.name == name) return &schema;
  }
  return nullptr;
}

}  // namespace pelmora::form
