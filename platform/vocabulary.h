// The run time's own vocabulary for windows: style bits, message numbers, key codes and
// show commands. The numbers are the documented Windows values, so the win32 back end passes
// them straight through; the gtk and sim back ends interpret them (a caption bit gives a
// decorated window, a thick frame a resizable one).
//
// The names live in namespaces instead of the usual upper-case macros so that this header
// and <windows.h> can meet in one translation unit of the win32 back end.
#pragma once

#include <cstdint>

namespace pelmora::vocab {

// Window style bits.
namespace style {
inline constexpr std::uint32_t Overlapped = 0x00000000;
inline constexpr std::uint32_t Popup = 0x80000000;
inline constexpr std::uint32_t Child = 0x40000000;
inline constexpr std::uint32_t Minimize = 0x20000000;
inline constexpr std::uint32_t Visible = 0x10000000;
inline constexpr std::uint32_t Disabled = 0x08000000;
inline constexpr std::uint32_t ClipSiblings = 0x04000000;
inline constexpr std::uint32_t ClipChildren = 0x02000000;
inline constexpr std::uint32_t Maximize = 0x01000000;
inline constexpr std::uint32_t Caption = 0x00C00000;  // Border | DialogFrame
inline constexpr std::uint32_t Border = 0x00800000;
inline constexpr std::uint32_t DialogFrame = 0x00400000;
inline constexpr std::uint32_t VScroll = 0x00200000;
inline constexpr std::uint32_t HScroll = 0x00100000;
inline constexpr std::uint32_t SystemMenu = 0x00080000;
inline constexpr std::uint32_t ThickFrame = 0x00040000;
inline constexpr std::uint32_t MinimizeBox = 0x00020000;
inline constexpr std::uint32_t MaximizeBox = 0x00010000;
inline constexpr std::uint32_t TabStop = 0x00010000;  // same bit as MaximizeBox, on child windows
}  // namespace style

// Extended window style bits.
namespace exstyle {
inline constexpr std::uint32_t DialogModalFrame = 0x00000001;
inline constexpr std::uint32_t Topmost = 0x00000008;
inline constexpr std::uint32_t ToolWindow = 0x00000080;
inline constexpr std::uint32_t ClientEdge = 0x00000200;
inline constexpr std::uint32_t StaticEdge = 0x00020000;
inline constexpr std::uint32_t AppWindow = 0x00040000;
}  // namespace exstyle

// Styles of the system edit box.
namespace edit_style {
inline constexpr std::uint32_t Left = 0x0000;
inline constexpr std::uint32_t Center = 0x0001;
inline constexpr std::uint32_t Right = 0x0002;
inline constexpr std::uint32_t MultiLine = 0x0004;
inline constexpr std::uint32_t UpperCase = 0x0008;
inline constexpr std::uint32_t LowerCase = 0x0010;
inline constexpr std::uint32_t Password = 0x0020;
inline constexpr std::uint32_t AutoVScroll = 0x0040;
inline constexpr std::uint32_t AutoHScroll = 0x0080;
inline constexpr std::uint32_t NoHideSelection = 0x0100;
inline constexpr std::uint32_t ReadOnly = 0x0800;
inline constexpr std::uint32_t WantReturn = 0x1000;
}  // namespace edit_style

// Styles of the system push button.
namespace button_style {
inline constexpr std::uint32_t PushButton = 0x0000;
inline constexpr std::uint32_t DefPushButton = 0x0001;
inline constexpr std::uint32_t Icon = 0x0040;
inline constexpr std::uint32_t Bitmap = 0x0080;
inline constexpr std::uint32_t Left = 0x0100;
inline constexpr std::uint32_t Right = 0x0200;
inline constexpr std::uint32_t Center = 0x0300;
inline constexpr std::uint32_t Top = 0x0400;
inline constexpr std::uint32_t Bottom = 0x0800;
inline constexpr std::uint32_t VCenter = 0x0C00;
inline constexpr std::uint32_t MultiLine = 0x2000;
inline constexpr std::uint32_t Notify = 0x4000;
}  // namespace button_style

// Message numbers. Only the messages that cross the platform seam are listed.
namespace msg {
inline constexpr std::uint32_t Destroy = 0x0002;
inline constexpr std::uint32_t Move = 0x0003;       // lParam: x | y << 16 (client origin)
inline constexpr std::uint32_t Size = 0x0005;       // lParam: width | height << 16 (client)
inline constexpr std::uint32_t Activate = 0x0006;   // wParam: 0 inactive, 1 or 2 active
inline constexpr std::uint32_t SetFocus = 0x0007;   // the window received the keyboard focus
inline constexpr std::uint32_t KillFocus = 0x0008;  // the window lost the keyboard focus
inline constexpr std::uint32_t Paint = 0x000F;      // lParam: Canvas* valid during the call
inline constexpr std::uint32_t Close = 0x0010;
inline constexpr std::uint32_t QueryEndSession = 0x0011;
inline constexpr std::uint32_t Quit = 0x0012;
inline constexpr std::uint32_t ShowWindow = 0x0018;  // wParam: 1 shown, 0 hidden
inline constexpr std::uint32_t NcDestroy = 0x0082;   // the window's final message
inline constexpr std::uint32_t KeyDown = 0x0100;
inline constexpr std::uint32_t KeyUp = 0x0101;
inline constexpr std::uint32_t Char = 0x0102;
inline constexpr std::uint32_t SysKeyDown = 0x0104;
inline constexpr std::uint32_t SysKeyUp = 0x0105;
inline constexpr std::uint32_t Command = 0x0111;
inline constexpr std::uint32_t SysCommand = 0x0112;
inline constexpr std::uint32_t Timer = 0x0113;  // wParam: timer identifier
inline constexpr std::uint32_t MouseMove = 0x0200;
inline constexpr std::uint32_t LButtonDown = 0x0201;
inline constexpr std::uint32_t LButtonUp = 0x0202;
inline constexpr std::uint32_t LButtonDblClk = 0x0203;
inline constexpr std::uint32_t RButtonDown = 0x0204;
inline constexpr std::uint32_t RButtonUp = 0x0205;
inline constexpr std::uint32_t RButtonDblClk = 0x0206;
inline constexpr std::uint32_t MouseWheel = 0x020A;  // wParam: key flags | delta << 16

// A notification of a system control (button click, edit change) reflected back to the
// control's own procedure instead of its parent's: wParam holds the notification code.
inline constexpr std::uint32_t ReflectedCommand = 0x2000 + Command;

// The run time's private window-complete notices (sent by the loader).
inline constexpr std::uint32_t DockingLayout = 0x8004;
inline constexpr std::uint32_t DataRefresh = 0x806F;
inline constexpr std::uint32_t PageRefresh = 0x8076;
}  // namespace msg

// Notification codes carried by msg::ReflectedCommand.
namespace notify {
inline constexpr std::uint32_t ButtonClicked = 0;  // BN_CLICKED
inline constexpr std::uint32_t EditChanged = 0x0300;  // EN_CHANGE
}  // namespace notify

// Mouse key flags in the wParam of mouse messages.
namespace mk {
inline constexpr std::uint32_t LButton = 0x0001;
inline constexpr std::uint32_t RButton = 0x0002;
inline constexpr std::uint32_t Shift = 0x0004;
inline constexpr std::uint32_t Control = 0x0008;
inline constexpr std::uint32_t MButton = 0x0010;
}  // namespace mk

// Virtual-key codes.
namespace vk {
inline constexpr std::uint32_t Back = 0x08;
inline constexpr std::uint32_t Tab = 0x09;
inline constexpr std::uint32_t Return = 0x0D;
inline constexpr std::uint32_t Shift = 0x10;
inline constexpr std::uint32_t Control = 0x11;
inline constexpr std::uint32_t Menu = 0x12;  // Alt
inline constexpr std::uint32_t Escape = 0x1B;
inline constexpr std::uint32_t Space = 0x20;
inline constexpr std::uint32_t Left = 0x25;
inline constexpr std::uint32_t Up = 0x26;
inline constexpr std::uint32_t Right = 0x27;
inline constexpr std::uint32_t Down = 0x28;
inline constexpr std::uint32_t Delete = 0x2E;
inline constexpr std::uint32_t Digit0 = 0x30;  // '0' .. '9' are 0x30 .. 0x39
inline constexpr std::uint32_t LetterA = 0x41;  // 'A' .. 'Z' are 0x41 .. 0x5A
inline constexpr std::uint32_t Numpad0 = 0x60;  // .. Numpad9 = 0x69
inline constexpr std::uint32_t Multiply = 0x6A;
inline constexpr std::uint32_t Add = 0x6B;
inline constexpr std::uint32_t Subtract = 0x6D;
inline constexpr std::uint32_t Decimal = 0x6E;
inline constexpr std::uint32_t Divide = 0x6F;
inline constexpr std::uint32_t F1 = 0x70;
inline constexpr std::uint32_t F4 = 0x73;
}  // namespace vk

// System commands (msg::SysCommand wParam).
namespace sc {
inline constexpr std::uint32_t Move = 0xF010;
inline constexpr std::uint32_t Close = 0xF060;
}  // namespace sc

// Text drawing flags (Canvas::DrawTextIn).
namespace dt {
inline constexpr std::uint32_t Top = 0x0000;
inline constexpr std::uint32_t Left = 0x0000;
inline constexpr std::uint32_t Center = 0x0001;
inline constexpr std::uint32_t Right = 0x0002;
inline constexpr std::uint32_t VCenter = 0x0004;
inline constexpr std::uint32_t Bottom = 0x0008;
inline constexpr std::uint32_t WordBreak = 0x0010;
inline constexpr std::uint32_t SingleLine = 0x0020;
inline constexpr std::uint32_t NoClip = 0x0100;
}  // namespace dt

// Show commands.
enum class Show : std::int32_t {
  Hide = 0,
  Normal = 1,
  ShowMinimized = 2,
  ShowMaximized = 3,
  Show = 5,
  ShowNoActivate = 8,  // SW_SHOWNA
  Restore = 9,
};

}  // namespace pelmora::vocab
