// The numbers by which the program's code reaches its window: the main window, its controls
// and the properties the handlers read and write. The program holds no control objects.
#pragma once

#include "runtime/ids.h"

namespace pelmora::refresher {

inline constexpr WindowId kMainWindow = 0x52010001;

inline constexpr ControlId kWindowItself = 0x06010000;
inline constexpr ControlId kPageView = 0x16010003;      // 超文本浏览框1
inline constexpr ControlId kAddressBox = 0x16010004;    // 编辑框1
inline constexpr ControlId kIntervalBox = 0x16010007;   // 编辑框2
inline constexpr ControlId kStartButton = 0x16010008;   // 按钮1 "自动刷新"
inline constexpr ControlId kStopButton = 0x16010009;    // 按钮2 "停止"
inline constexpr ControlId kReloadTimer = 0x1601000C;   // 时钟1
inline constexpr ControlId kCaptionTimer = 0x16010016;  // 时钟2

inline constexpr PropertyNumber kCaption = 8;  // of the window
inline constexpr PropertyNumber kContent = 8;  // of an edit box
inline constexpr PropertyNumber kAddress = 11;  // of the page view
inline constexpr PropertyNumber kPeriod = 8;    // of a timer

// Every property access names no font part.
inline constexpr std::int32_t kWholeProperty = -1;

}  // namespace pelmora::refresher
