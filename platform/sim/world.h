// The state of the simulated window system, shared by the files of the sim back end. Nothing
// outside platform/sim/ includes this header: tests go through sim.h and platform.h.
//
// Rule of the house for every file here: a window procedure may destroy any window (its own
// among them) from inside any message. Never keep a SimWindow* across a call of a procedure;
// look the window up again by its handle afterwards.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim.h"

namespace pelmora::sim::detail {

using platform::Colour;
using platform::Rect;
using platform::Size;
using platform::WindowClass;
using platform::WindowHandle;

struct SimWindow {
  WindowHandle handle = WindowHandle::None;
  WindowClass windowClass = WindowClass::Frame;
  std::string className;
  // The style without the state bits (visible, disabled, minimized, maximized): those live
  // in the flags below and are merged back in by StyleOf.
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  Rect bounds;
  Rect restoredBounds;  // where a maximized window goes back to
  WindowHandle parent = WindowHandle::None;
  WindowHandle owner = WindowHandle::None;
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
  std::vector<std::uint8_t> icon;
  bool iconSet = false;
  std::optional<std::pair<Colour, Colour>> editColours;
  std::uint32_t editLimit = 0;
  std::uint16_t passwordChar = 0;
  std::optional<std::pair<std::int32_t, std::int32_t>> editTextBand;
  std::pair<std::uint32_t, std::uint32_t> editSelection{0, 0};
  std::uint32_t titleBarDrags = 0;
  bool needsPaint = false;
  bool pressed = false;  // a push button held down by the mouse or Space
  // Children, top of the stacking order first.
  std::vector<WindowHandle> children;
  platform::WindowProcedure* procedure = nullptr;
  // Destroy has been sent; the window still exists until its NcDestroy has been handled.
  bool destroying = false;
};

// A running timer. Its messages are made when the loop finds nothing else to take, so at
// most one of them is ever waiting.
struct Timer {
  WindowHandle window = WindowHandle::None;
  std::uint32_t id = 0;
  std::uint32_t period = 0;
  std::uint64_t nextDue = 0;
};

// One entry of the thread's queue. Input messages whose target is the keyboard focus are
// addressed when they are taken, as the system does: a key released after a Tab reaches the
// control that the Tab moved the focus to.
struct QueuedItem {
  enum class Kind { Input, KeyboardInput, Timer, Quit, UserAction };
  Kind kind = Kind::Input;
  platform::Message message;
  std::uint32_t modifiers = 0;
  std::function<void()> action;  // UserAction: something the user does that is no message
};

struct BrowserSlot {
  WindowHandle host = WindowHandle::None;
  platform::BrowserEvents* events = nullptr;
  BrowserRecord record;
};

struct World {
  std::map<std::uintptr_t, std::unique_ptr<SimWindow>> windows;
  std::vector<WindowHandle> topLevel;  // top of the stacking order first
  WindowHandle focus = WindowHandle::None;
  WindowHandle active = WindowHandle::None;

  std::deque<QueuedItem> queue;
  std::vector<Timer> timers;  // in the order they were started
  platform::MessageFilter* filter = nullptr;

  std::uint64_t now = 0;
  std::uint64_t timeToReach = 0;
  std::uint32_t tickCountBase = 0;
  std::uint64_t tickCountSetAt = 0;

  // How many loops or processing passes of the sim are running; while above 0 the test
  // controls only queue their input.
  int processingDepth = 0;
  std::uint32_t currentModifiers = 0;
  User user;

  std::vector<MessageBoxRecord> messageBoxes;
  bool answerBoxesAutomatically = false;

  std::uint32_t allocationsUntilFailure = 0;
  // The process heap's blocks still given out. The process ends by an exception in the sim,
  // so whatever a handler held at that moment is released when the process goes (Reset), as
  // the system releases a real process's heap.
  std::set<void*> heapBlocks;
  std::set<WindowClass> refusedClasses;
  BrowserFault browserFault = BrowserFault::None;
  bool componentServicesFail = false;

  std::map<std::uint64_t, BrowserSlot> browsers;
  std::uint64_t nextBrowserId = 1;
  bool controlContainmentEnabled = false;

  Observer observer;

  std::string programPath = "C:\\Pelmora\\pelmora.exe";
  std::string workingDirectory = "C:\\Users\\Public";
  bool componentServicesRunning = false;
  bool errorModeWidened = false;
  bool floatingPointReset = false;
  std::vector<HelpRequest> helpRequests;
};

World& TheWorld();

// ---- windows (world.cpp) ----
SimWindow* Find(WindowHandle window);
// A window that exists and has not yet been sent its Destroy.
SimWindow* FindLiving(WindowHandle window);
WindowHandle TopLevelOf(WindowHandle window);
bool IsSameOrDescendant(WindowHandle window, WindowHandle ancestor);
// Calls the procedure, if the window still has one; 0 otherwise.
std::intptr_t Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam = 0,
                   std::intptr_t lParam = 0);
std::vector<WindowHandle>& SiblingsOf(const SimWindow& window);

// ---- geometry (windows.cpp) ----
struct NonClient {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};
NonClient NonClientOf(const SimWindow& window);
Size ClientSize(const SimWindow& window);
// Moves and sizes the window, sending Move and Size for what changed.
void ApplyBounds(WindowHandle window, Rect bounds, std::uintptr_t sizeKind = 0);
// Screen position of a point of a window's client area.
platform::Point ClientToScreen(WindowHandle window, platform::Point point);
inline std::intptr_t PackPoint(std::int32_t x, std::int32_t y) {
  return static_cast<std::intptr_t>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(x)) |
                                    static_cast<std::uint32_t>(static_cast<std::uint16_t>(y))
                                        << 16);
}

// ---- focus and activation (focus.cpp) ----
void MoveFocus(WindowHandle newFocus);
void ActivateTopLevel(WindowHandle topLevel);
// The window or one of its children lost visibility, its enabled state or its life: the
// focus and the activation cannot stay inside it.
void LeaveSubtree(WindowHandle window, bool deactivate);

// ---- the loop (loop.cpp) ----
// Queues an item and, when no loop of the sim is running, processes everything it causes.
void QueueFromUser(QueuedItem item);
// Processes everything waiting (due timers included), leaving a quit request queued.
void ProcessWaiting();
// Runs the loop of a modal box until the box with this index is closed.
void RunBoxLoop(std::size_t boxIndex);
void DropQueuedFor(WindowHandle window);

// ---- timers (timers.cpp) ----
// The earliest time a running timer is due, if any runs.
std::optional<std::uint64_t> NextDueTime();
// A timer message for the earliest timer due now, its schedule moved on past now.
std::optional<QueuedItem> MakeDueTimerMessage();
void RemoveTimersOf(WindowHandle window);

// ---- key translation (key_translation.cpp) ----
// The character a key-down makes with these modifiers (bit 0 Ctrl, 1 Shift, 2 Alt), if any.
std::optional<std::uint8_t> CharacterOfKey(std::uint32_t key, std::uint32_t modifiers);

// ---- the native classes' own handling of input (class_behaviour.cpp) ----
void DefaultInputHandling(const platform::Message& message);
// Whether a class turns a second press into a double-click message.
bool AcceptsDoubleClicks(WindowClass windowClass);
// The longest prefix of at most `limit` bytes that does not split a code page 936 character.
std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit);
// Reports a change of an edit box's text to its own procedure, as the system does.
void NotifyEditChanged(WindowHandle edit);

// ---- the browser (browser.cpp) ----
void BrowserHostLostFocus(WindowHandle host);

}  // namespace pelmora::sim::detail
