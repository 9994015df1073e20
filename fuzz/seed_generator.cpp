// Writes the seed corpora of the block fuzz targets from the page refresher's own compiled
// window description: the whole block for the description target, and every control's kind
// block into the folder of its kind. Usage: pelmora_fuzz_seeds <corpus folder>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <string>

#include "refresher/handlers.h"
#include "refresher/program.h"
#include "runtime/description.h"
#include "runtime/kinds/button_kind.h"
#include "runtime/kinds/edit_box_kind.h"
#include "runtime/kinds/html_viewer_kind.h"
#include "runtime/kinds/label_kind.h"
#include "runtime/kinds/timer_kind.h"
#include "runtime/kinds/window_kind.h"

namespace {

void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pelmora;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const std::map<KindId, std::string> folderOfKind = {
      {WindowKind().Id(), "window_block"},   {EditBoxKind().Id(), "edit_box_block"},
      {LabelKind().Id(), "label_block"},     {ButtonKind().Id(), "button_block"},
      {TimerKind().Id(), "timer_block"},     {HtmlViewerKind().Id(), "html_viewer_block"},
  };

  const auto block = refresher::MainWindowBlock();
  WriteFile(root / "description" / "main_window", block);
  const DescriptionReadResult read = ReadDescriptionBlock(block, refresher::HandlerTable());
  if (!read.Ok()) {
    std::fprintf(stderr, "the program's own description does not read: %s\n",
                 read.error->reason.c_str());
    return 1;
  }
  for (const WindowDescription& window : read.windows) {
    for (const ControlRecord& record : window.records) {
      if (record.IsMenuItem()) continue;
      auto folder = folderOfKind.find(record.description.kind);
      if (folder == folderOfKind.end()) continue;
      char name[32];
      std::snprintf(name, sizeof name, "control_%08X", record.controlId);
      WriteFile(root / folder->second / name, record.description.kindBlock);
    }
  }
  return 0;
}
