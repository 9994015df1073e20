// The platform seam: everything the run time, the control kinds and the program need of the
// operating system, and nothing more. One back end implements it per system and is chosen at
// link time: win32 (USER32/GDI/OLE), gtk (GTK 3 + WebKitGTK) and sim (an in-process window
// system for deterministic tests). Nothing outside platform/ includes a system header.
//
// Conventions of the seam:
// - One thread. Every function is called on the GUI thread, and every callback (window
//   procedures, the message filter, browser events) arrives on it.
// - Texts are code page 936 byte strings, exactly as the program stores them. Each back end
//   converts at its own boundary. A character that code page 936 cannot hold comes back as
//   '?' (a known limit), never as a truncated text.
// - Style bits, message numbers and key codes are those of vocabulary.h.
// - Names avoid the Windows API's macro names (CreateWindow, SendMessage, DrawText, ...) so
//   that the win32 back end can include both this header and <windows.h>.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/vocabulary.h"

namespace pelmora::platform {

// A native window. None is no window; a handle of a destroyed window is never reused while
// the process runs, so a stale handle simply names no window.
enum class WindowHandle : std::uintptr_t { None = 0 };

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// 0x00BBGGRR. The run time resolves its "system face colour" marker (0xFF000000) with
// FaceColour() before it draws; the seam only sees real colours.
using Colour = std::uint32_t;

// A font: a 60-byte LOGFONTA record, or nothing for the system's default GUI font.
struct FontSpec {
  std::optional<std::array<std::uint8_t, 60>> logFont;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// A message in the run time's vocabulary (Windows numbers). lParam of mouse messages packs
// the client position as x | y << 16; wParam holds the mouse key flags (vocab::mk).
struct Message {
  WindowHandle window = WindowHandle::None;
  std::uint32_t id = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

// What a window's procedure can draw with while it handles vocab::msg::Paint.
class Canvas {
 public:
  // The part of the client area that needs painting; empty when nothing is invalid.
  virtual Rect InvalidRect() const = 0;
  virtual void FillRect(Rect area, Colour colour) = 0;
  virtual void SelectFont(const FontSpec& font) = 0;
  // Draws with a transparent background; flags are vocab::dt bits.
  virtual void DrawTextIn(std::string_view text, Rect area, std::uint32_t flags,
                          Colour colour) = 0;
  virtual void SetClip(Rect area) = 0;

 protected:
  ~Canvas() = default;
};

// The run time's side of a window: the kind that created it handles its messages here.
//
// Which messages arrive: msg::Destroy, msg::NcDestroy (the final one: the procedure may free
// itself while handling it, and the back end touches it no more), msg::Move, msg::Size,
// msg::Activate, msg::SetFocus, msg::KillFocus, msg::ShowWindow, msg::Paint, msg::Close,
// msg::QueryEndSession, msg::Timer, msg::ReflectedCommand (button clicks and edit changes of
// the window itself), and whatever the run time sends with SendToWindow. Input messages do
// not come here: they pass the message filter (pre-translation) and then go to the native
// control.
//
// The system's own handling of a message has already happened when the procedure sees it
// (a timer message, a resize, a focus change, a destroy), except for msg::Close: the system
// does nothing of its own on a close request, the procedure decides (and calls
// DestroyNativeWindow when the window is to go).
class WindowProcedure {
 public:
  // The result matters only for msg::QueryEndSession (0 refuses the end of the session).
  virtual std::intptr_t OnMessage(const Message& message) = 0;

 protected:
  ~WindowProcedure() = default;
};

// Native classes the run time creates windows of.
enum class WindowClass : std::uint8_t {
  Frame,        // a top-level window of a description (double clicks, no background brush)
  Edit,         // the system edit box
  Button,       // the system push button (double clicks reach it as presses)
  Label,        // the run time's label class, painted by its procedure
  TimerHost,    // a hidden child that owns system timers
  BrowserHost,  // the child that hosts a web browser
  HiddenOwner,  // the run time's invisible owner of top-level windows
};

struct WindowSpec {
  WindowClass windowClass = WindowClass::Frame;
  // Frame only: a class name of the description's own; empty for the default frame class.
  std::string_view className;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  // The outer rectangle: on the screen for a top-level window, in the parent's client area
  // for a child.
  Rect rect;
  WindowHandle parent = WindowHandle::None;
  WindowHandle owner = WindowHandle::None;
  std::uint32_t childId = 0;
  std::string_view text;
  WindowProcedure* procedure = nullptr;
};

// ---------------------------------------------------------------------------------------
// Process

// Adds "fail critical errors" and "no open-file error box" to the system error mode.
void WidenErrorMode();
// Starts the component services the browser needs (OLE on Windows). False when they could
// not be started.
bool StartComponentServices();
void StopComponentServices();
// Round to nearest, extended intermediate precision where the processor has it, all
// floating-point exceptions masked.
void ResetFloatingPointEnvironment();
// Milliseconds since the system started, wrapping at 2^32.
std::uint32_t TickCount();
// The full path of the program file, at most 260 bytes.
std::string ProgramPath();
// The byte that separates folders in ProgramPath(): '\\' on Windows, '/' elsewhere.
char PathSeparator();
bool ChangeDirectory(std::string_view path);
std::string WorkingDirectory();
// Ends the process at once with this exit code. Never returns.
[[noreturn]] void EndProcess(int exitCode);
// The process heap every value handed to the program comes from. Null when memory cannot
// be had.
void* HeapAllocate(std::size_t bytes);
void HeapRelease(void* block);
// A modal box with one OK button and the error icon, owned by no window. Runs a nested
// message loop (timers keep ticking, windows keep painting) until the user dismisses it.
void ShowErrorBox(std::string_view caption, std::string_view text);

// ---------------------------------------------------------------------------------------
// Windows

// None when the system refuses the window.
WindowHandle CreateNativeWindow(const WindowSpec& request);
// Destroys the window and its children; each gets msg::Destroy and then msg::NcDestroy,
// the children before their parent's final message.
void DestroyNativeWindow(WindowHandle window);
bool WindowExists(WindowHandle window);
WindowHandle ParentOf(WindowHandle window);
// Moves a child into another parent (same place in the new parent's client area).
void Reparent(WindowHandle window, WindowHandle newParent);

void ShowNativeWindow(WindowHandle window, vocab::Show command);
// Whether the window and all its parents are visible.
bool IsShown(WindowHandle window);
bool IsMinimized(WindowHandle window);
bool IsMaximized(WindowHandle window);
void EnableNativeWindow(WindowHandle window, bool enabled);
bool IsEnabled(WindowHandle window);

// Outer rectangle: screen coordinates for a top-level window, the parent's client area for
// a child.
void SetBounds(WindowHandle window, Rect bounds);
Rect BoundsOf(WindowHandle window);
Size ClientSizeOf(WindowHandle window);

void SetText(WindowHandle window, std::string_view text);
std::string TextOf(WindowHandle window);

void SetStyles(WindowHandle window, std::uint32_t style, std::uint32_t exStyle);
std::uint32_t StyleOf(WindowHandle window);
std::uint32_t ExStyleOf(WindowHandle window);

// Stacking among siblings: directly below `above`, or at the top when above is None.
void PlaceBelow(WindowHandle window, WindowHandle above);
void SetTopmost(WindowHandle window, bool topmost);
// Removes the Move command from the window's system menu: the title bar no longer drags it.
void RemoveMoveCommand(WindowHandle window);
// 0 rectangle, 1 ellipse, 2 rounded rectangle, 3 ring. A back end that cannot shape a
// window says so on its error stream and leaves it rectangular.
void SetShape(WindowHandle window, std::int32_t shape);
// Icon data as stored in a description; empty data gives the program's own icon.
void SetIcon(WindowHandle window, std::span<const std::uint8_t> iconData);
void SetFont(WindowHandle window, const FontSpec& font);
// Text and background colour of an edit box.
void SetColours(WindowHandle window, Colour text, Colour background);
void Invalidate(WindowHandle window);
// Starts dragging the window as if its title bar had been pressed.
void BeginTitleBarDrag(WindowHandle window);

void SetFocusTo(WindowHandle window);
WindowHandle FocusedWindow();
void Activate(WindowHandle window);
WindowHandle ActiveWindow();

// Calls the window's procedure at once and returns its result.
std::intptr_t SendToWindow(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam);

// Bit 0 Ctrl, bit 1 Shift, bit 2 Alt: the keys held down as of the message being processed.
std::uint32_t ModifierKeys();

// Screen metrics.
Size ScreenSize();
// The work area of the monitor nearest to the window.
Rect WorkAreaNear(WindowHandle window);
// Height of a 3-D edge (SM_CYEDGE).
std::int32_t EdgeHeight();
Colour FaceColour();
Size MeasureText(const FontSpec& font, std::string_view text);

// Opens the system's help viewer on a file, at a context number (0: the contents). False
// when the file does not exist or the system has no viewer.
bool OpenHelp(std::string_view file, std::uint32_t context);

// ---------------------------------------------------------------------------------------
// Edit boxes

// 0 leaves the system maximum.
void SetEditLimit(WindowHandle edit, std::uint32_t maxLength);
void SetEditPasswordChar(WindowHandle edit, std::uint16_t character);
void SetEditSelection(WindowHandle edit, std::uint32_t start, std::uint32_t length);
// A single-line box shows its one text line in this band of its client area; the rest is
// frame: painted with the background and deaf to clicks.
void SetEditTextBand(WindowHandle edit, std::int32_t top, std::int32_t height);

// ---------------------------------------------------------------------------------------
// Timers: msg::Timer with wParam = id reaches the window's procedure through the loop.
// Timer messages are made only when the queue holds nothing else, and at most one is pending
// per (window, id): a busy loop skips ticks instead of bursting.

void StartTimer(WindowHandle window, std::uint32_t id, std::uint32_t periodMs);
void StopTimer(WindowHandle window, std::uint32_t id);

// ---------------------------------------------------------------------------------------
// The message loop

// Offered every input message before it reaches its target (pre-translation).
class MessageFilter {
 public:
  // True when the message is claimed: it goes no further. The filter may change the message
  // (a replaced character) before letting it through.
  virtual bool PreTranslate(Message& message) = 0;

 protected:
  ~MessageFilter() = default;
};

void InstallMessageFilter(MessageFilter* filter);
// Runs until the quit request is taken; returns its exit code.
int RunMessageLoop();
// Processes every message already waiting, normally (pre-translation included); a quit
// request stays queued.
void PumpWaitingMessages();
void PostQuit(int exitCode);

// ---------------------------------------------------------------------------------------
// The web browser hosted in a WindowClass::BrowserHost window.

// What the browser reports. Texts are code page 936.
class BrowserEvents {
 public:
  // BeforeNavigate2. True cancels the navigation.
  virtual bool OnBeforeNavigate(std::string_view url) = 0;
  virtual void OnNavigateComplete(std::string_view url) = 0;
  virtual void OnDownloadBegin() = 0;
  virtual void OnProgressChange(std::int32_t progress, std::int32_t maximum) = 0;
  virtual void OnDownloadComplete() = 0;
  virtual void OnDocumentComplete(std::string_view url) = 0;
  virtual void OnStatusTextChange(std::string_view text) = 0;
  virtual void OnTitleChange(std::string_view title) = 0;
  virtual void OnCommandStateChange(std::int32_t command, bool enabled) = 0;
  // NewWindow2. True cancels the new window.
  virtual bool OnNewWindow() = 0;

 protected:
  ~BrowserEvents() = default;
};

class Browser {
 public:
  virtual ~Browser() = default;
  // Starts loading without waiting; the browser decides about its cache.
  virtual void Navigate(std::string_view address) = 0;
  // Text size level 0 (smallest) to 4 (largest).
  virtual void Zoom(std::int32_t level) = 0;
  virtual void PutOffline(bool offline) = 0;
  virtual bool GetOffline() = 0;
  virtual void PutSilent(bool silent) = 0;
  virtual bool GetSilent() = 0;
  virtual std::string LocationUrl() = 0;
  virtual std::string LocationName() = 0;
  // Fills the host's client area (no change of z-order, no activation).
  virtual void FitTo(Size hostClient) = 0;
  virtual void TakeFocus() = 0;
  virtual bool WindowExists() = 0;
};

// Containment of OLE controls (Windows); enabling it again does nothing.
void EnableControlContainment();
// Creates the browser as a visible child of the host, filling its client area. Null when the
// browser cannot be created or lacks its automation interface; nothing remains then.
std::unique_ptr<Browser> CreateBrowser(WindowHandle host, BrowserEvents& events);

}  // namespace pelmora::platform
