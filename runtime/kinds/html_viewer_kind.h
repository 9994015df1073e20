// The HTML viewer kind: a child control that hosts the system's web browser and translates
// between numbered properties and events and the browser's own interface.
#pragma once

#include "runtime/control_kind.h"
#include "runtime/ids.h"

namespace pelmora {

namespace html_viewer {
// Own properties.
inline constexpr PropertyNumber TextSize = 8;   // 0 (smallest) to 4 (largest)
inline constexpr PropertyNumber Offline = 9;
inline constexpr PropertyNumber Silent = 10;
inline constexpr PropertyNumber Address = 11;
inline constexpr PropertyNumber StatusText = 12;       // read-only
inline constexpr PropertyNumber PageTitle = 13;        // read-only
inline constexpr PropertyNumber DesignerPreview = 14;  // always false

// Events.
inline constexpr EventNumber NavigationStarting = 0;  // a false result cancels
inline constexpr EventNumber NavigationDone = 1;
inline constexpr EventNumber DownloadStarted = 2;
inline constexpr EventNumber ProgressChanged = 3;  // (percentage)
inline constexpr EventNumber DownloadFinished = 4;
inline constexpr EventNumber DocumentDone = 5;
inline constexpr EventNumber StatusTextChanged = 6;
inline constexpr EventNumber TitleChanged = 7;
inline constexpr EventNumber BackForwardChanged = 8;  // (1 back / 0 forward, enabled)
inline constexpr EventNumber NewWindowRequested = 9;  // a false result cancels

// The browser's command-state numbers that reach BackForwardChanged.
inline constexpr std::int32_t ForwardCommand = 1;
inline constexpr std::int32_t BackCommand = 2;
}  // namespace html_viewer

ControlKind& HtmlViewerKind();

}  // namespace pelmora
