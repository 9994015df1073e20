// Test controls of the simulated platform. The sim implements platform/platform.h as an
// in-process window system: windows, a message queue, focus and activation, a virtual clock
// with timer messages, scripted mouse and keys, a modal message box, a recording browser and
// an observable process end. Everything is deterministic: no real time passes.
//
// Two ways to drive it:
// - Step by step from a test: inject input or advance the clock; each call then processes
//   what it caused (with the installed message filter) until the queue is empty.
// - As a user of a running program: when a blocking loop (RunMessageLoop, the loop of an
//   error box) has nothing to do, the sim asks the installed User for its next step. Calls
//   made from inside that step only queue their input or set the time to reach; the waiting
//   loop then processes them.
//
// Points where the simulated system behaves in a particular way:
// - Creating a window sends its procedure nothing; a Visible style makes it visible without
//   activating it. New children go below their siblings, new top-level windows on top.
// - The loop translates a key-down that pre-translation let through into its character
//   (Enter, Backspace, Tab and Esc included, none with Alt), taken right after it; a claimed
//   key-down makes no character. Key messages go to the focus as it is when they are taken.
// - Alt+F4 that gets through asks the top-level window to close, whatever class has the focus.
// - Showing a top-level window minimized activates it too, but nothing has the focus then.
// - The wheel message carries a screen position, as on Windows.
// - Timer periods below 10 ms count as 10 ms.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace pelmora::sim {

// Thrown by platform::EndProcess: the process has ended with this code. Nothing of the
// program runs after it; the test (or pelmora-sim) catches it.
struct ProcessEnded {
  int exitCode = 0;
};

// Thrown out of a blocking loop when the User has no further step.
struct UserFinished {};

// A new, empty world: no windows, no queue, virtual time 0, tick count 0, no faults, no user,
// no message filter. Windows still alive get their destroy messages first, so the kinds free
// what they hold.
void Reset();

// ---- Time -----------------------------------------------------------------------------
// Virtual milliseconds since Reset.
std::uint64_t Now();
// What the system tick count reads now; it advances with virtual time from here.
void SetTickCount(std::uint32_t ticks);
// Lets ms of virtual time pass: every timer message due at or before the end is made (when
// the queue is empty, at most one pending per timer) and processed at its due time.
void Advance(std::uint32_t ms);
// Processes every queued message; no time passes.
void RunUntilIdle();
// The program is busy for ms: virtual time passes at once and nothing is processed meanwhile.
// Called from a window procedure it makes a slow handler, so timers fall behind and skip.
void Spend(std::uint32_t ms);

// ---- The user of a running program -----------------------------------------------------------
// Called whenever a blocking loop would wait. Returns false when the user has nothing more to
// do; the loop then throws UserFinished.
using User = std::function<bool()>;
void SetUser(User user);

// ---- Input ------------------------------------------------------------------------------
// Positions are in the target's client area; without one, the centre of the window.
void Click(platform::WindowHandle target, std::optional<platform::Point> at = std::nullopt);
// A second press within the double-click time on a double-click class arrives as a
// double-click message: down, up, double click, up.
void DoubleClick(platform::WindowHandle target, std::optional<platform::Point> at = std::nullopt);
void RightClick(platform::WindowHandle target, std::optional<platform::Point> at = std::nullopt);
// The two halves of a left click, for a press and a release at different places. The window
// pressed keeps the mouse until the release (as with mouse capture), so the release goes to
// `target` with a position that may lie outside its client area.
void MouseDown(platform::WindowHandle target, std::optional<platform::Point> at = std::nullopt);
void MouseUp(platform::WindowHandle target, std::optional<platform::Point> at = std::nullopt);
// Mouse input aimed at a window that is not shown (IsShown) or that is disabled, itself or
// through a parent, is dropped: the user cannot reach it.
void MoveMouse(platform::WindowHandle target, platform::Point at);
void TurnWheel(platform::WindowHandle target, std::int32_t delta);
// A key pressed and released on the focused window, with modifiers held (bit 0 Ctrl, bit 1
// Shift, bit 2 Alt). Alt makes system keys; a printable key also makes a character message.
void PressKey(std::uint32_t virtualKey, std::uint32_t modifiers = 0);
void KeyDown(std::uint32_t virtualKey, std::uint32_t modifiers = 0);
void KeyUp(std::uint32_t virtualKey, std::uint32_t modifiers = 0);
// The user replaces the whole content of an edit box (code page 936 text): the box changes its
// text and reports the change as the system would.
void TypeText(platform::WindowHandle edit, std::string_view text);
// The title bar's close button of a top-level window.
void PressCloseButton(platform::WindowHandle window);
// The user minimizes or restores a top-level window.
void Minimize(platform::WindowHandle window);
void Restore(platform::WindowHandle window);

// ---- Message boxes -------------------------------------------------------------------------
struct MessageBoxRecord {
  std::string caption;
  std::string text;
  bool open = false;
};
// Every box opened since Reset, oldest first.
const std::vector<MessageBoxRecord>& MessageBoxes();
bool MessageBoxOpen();
// The user presses OK in the open box.
void PressOk();
// When set, every box is answered with OK as soon as its loop would wait for the user.
void AnswerMessageBoxesAutomatically(bool automatically);

// ---- Inspection ---------------------------------------------------------------------------
struct WindowInfo {
  platform::WindowHandle handle = platform::WindowHandle::None;
  platform::WindowClass windowClass = platform::WindowClass::Frame;
  std::string className;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  platform::Rect bounds;  // outer; screen for top-level, parent's client area for children
  platform::WindowHandle parent = platform::WindowHandle::None;
  platform::WindowHandle owner = platform::WindowHandle::None;
  std::uint32_t childId = 0;
  std::string text;
  bool visible = false;
  bool enabled = true;
  bool minimized = false;
  bool maximized = false;
  bool topmost = false;
  bool movable = true;
  std::int32_t shape = 0;
  platform::FontSpec font;
  std::uint32_t editLimit = 0;
  std::uint16_t passwordChar = 0;
  std::optional<std::pair<std::int32_t, std::int32_t>> editTextBand;  // top, height
  std::vector<std::uint32_t> runningTimers;                        // ids
  bool iconSet = false;  // SetIcon was called (with `icon`, empty for the program's icon)
  std::vector<std::uint8_t> icon;
  std::optional<std::pair<platform::Colour, platform::Colour>> editColours;  // text, background
  std::pair<std::uint32_t, std::uint32_t> editSelection{0, 0};               // start, length
  std::uint32_t titleBarDrags = 0;  // BeginTitleBarDrag calls
  bool needsPaint = false;          // invalidated since the last PaintNow
  bool pressed = false;             // a push button held down
};
std::optional<WindowInfo> Inspect(platform::WindowHandle window);
// Top-level windows, then children of a window, each top of the stacking order first.
std::vector<platform::WindowHandle> TopLevelWindows();
std::vector<platform::WindowHandle> ChildrenOf(platform::WindowHandle window);
// Period of a running timer, if it runs.
std::optional<std::uint32_t> TimerPeriod(platform::WindowHandle window, std::uint32_t id);

// Every text drawn by a window's procedure on its canvas during the last paint, and the fills.
struct PaintRecord {
  std::vector<std::pair<platform::Rect, platform::Colour>> fills;
  struct Text {
    std::string text;
    platform::Rect area;
    std::uint32_t flags = 0;
    platform::Colour colour = 0;
  };
  std::vector<Text> texts;
};
// Paints the window now (its whole client area) and returns what it drew.
PaintRecord PaintNow(platform::WindowHandle window);

// ---- Faults ---------------------------------------------------------------------------------
// The n-th HeapAllocate from now on (1 = the next) returns null; 0 cancels.
void FailNthAllocation(std::uint32_t n);
// Every creation of a window of this class is refused until Reset.
void FailWindowClass(platform::WindowClass windowClass);
enum class BrowserFault { None, CannotCreate, NoAutomationInterface };
void FailBrowser(BrowserFault fault);
// Component services (OLE) refuse to start.
void FailComponentServices(bool fail);

// ---- The recording browser -------------------------------------------------------------------
struct BrowserRecord {
  std::vector<std::string> navigations;  // every Navigate, in order, code page 936
  std::vector<std::int32_t> zooms;       // every Zoom level
  bool offline = false;
  bool silent = false;
  std::string locationUrl;   // what LocationUrl answers
  std::string locationName;  // what LocationName answers
  bool focused = false;
  platform::Size size;
};
// The browser hosted in this host window; null when none.
BrowserRecord* BrowserIn(platform::WindowHandle host);
// Fires a browser event as the real browser would, on the GUI thread; returns the Cancel
// output where the event has one.
bool FireBeforeNavigate(platform::WindowHandle host, std::string_view url);
void FireNavigateComplete(platform::WindowHandle host, std::string_view url);
void FireDownloadBegin(platform::WindowHandle host);
void FireProgressChange(platform::WindowHandle host, std::int32_t progress, std::int32_t maximum);
void FireDownloadComplete(platform::WindowHandle host);
void FireDocumentComplete(platform::WindowHandle host, std::string_view url);
void FireStatusTextChange(platform::WindowHandle host, std::string_view text);
void FireTitleChange(platform::WindowHandle host, std::string_view title);
void FireCommandStateChange(platform::WindowHandle host, std::int32_t command, bool enabled);
bool FireNewWindow(platform::WindowHandle host);

// ---- Observation as it happens (the trace of pelmora-sim) ----------------------------------------
struct Observer {
  std::function<void(platform::WindowHandle)> windowShown;  // a top-level window became visible
  std::function<void(platform::WindowHandle, std::string_view)> textSet;  // every SetText
  std::function<void(platform::WindowHandle, std::uint32_t id, std::uint32_t ms)> timerStarted;
  std::function<void(platform::WindowHandle, std::uint32_t id)> timerStopped;  // a running one
  std::function<void(platform::WindowHandle host, std::string_view)> navigated;
  std::function<void(std::string_view caption, std::string_view text)> messageBoxOpened;
};
void SetObserver(Observer observer);

// ---- The process ------------------------------------------------------------------------------
// Path of the program file that ProgramPath reports (default "C:\\Pelmora\\pelmora.exe"), and
// the separator the sim uses ('\\').
void SetProgramPath(std::string_view path);
// What happened to the process's component services and error mode.
bool ComponentServicesRunning();
bool ErrorModeWidened();
bool FloatingPointEnvironmentReset();
bool ControlContainmentEnabled();
// Every OpenHelp call since Reset (the sim has no help viewer, so each answered false).
struct HelpRequest {
  std::string file;
  std::uint32_t context = 0;
};
const std::vector<HelpRequest>& HelpRequests();

}  // namespace pelmora::sim
