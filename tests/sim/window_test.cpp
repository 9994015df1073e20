// Windows of the simulated system: geometry with the frame's metrics, activation and focus
// messages, destruction order, handle lifetime and stacking.
#include <set>

#include <gmock/gmock.h>

#include "tests/sim/recorder.h"

namespace pelmora::sim::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using platform::WindowClass;
using platform::WindowHandle;

std::string H(WindowHandle window) {
  return std::to_string(static_cast<std::uintptr_t>(window));
}

using WindowTest = SimTest;

TEST_F(WindowTest, ClientSizeSubtractsTheFrameOfTheStyle) {
  namespace style = vocab::style;
  struct Case {
    const char* name;
    std::uint32_t style;
    platform::Size client;
  };
  const Case cases[] = {
      {"no frame", 0, {300, 200}},
      {"dialog frame without caption", style::DialogFrame, {294, 194}},
      {"caption", style::Caption, {294, 172}},
      {"sizable with caption", style::Caption | style::ThickFrame, {294, 172}},
      {"border alone is no caption", style::Border, {300, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorder& procedure = Procedure("frame");
    const WindowHandle frame = Frame(procedure, {0, 0, 300, 200}, c.style);
    EXPECT_EQ(platform::ClientSizeOf(frame), c.client);
    platform::DestroyNativeWindow(frame);
  }
  Recorder& frameProcedure = Procedure("frame");
  Recorder& editProcedure = Procedure("edit");
  const WindowHandle frame = Frame(frameProcedure);
  platform::WindowSpec request;
  request.windowClass = WindowClass::Edit;
  request.style = vocab::style::Child | vocab::style::Border;
  request.exStyle = vocab::exstyle::ClientEdge;
  request.rect = {0, 0, 100, 30};
  request.parent = frame;
  request.procedure = &editProcedure;
  EXPECT_EQ(platform::ClientSizeOf(platform::CreateNativeWindow(request)), (platform::Size{96, 26}));
}

TEST_F(WindowTest, MovingAndSizingReportTheClientOriginAndSize) {
  Recorder& procedure = Procedure("frame");
  const WindowHandle frame = Frame(procedure, {100, 100, 300, 200});
  platform::SetBounds(frame, {100, 100, 300, 200});  // unchanged: no message
  platform::SetBounds(frame, {110, 100, 300, 200});
  platform::SetBounds(frame, {110, 100, 306, 228});
  platform::SetBounds(frame, {0, 0, 100, 100});
  EXPECT_THAT(trace, ElementsAre("frame:Move(0)", "frame:Size(0)", "frame:Move(0)",
                                 "frame:Size(0)"));
  EXPECT_EQ(platform::BoundsOf(frame), (platform::Rect{0, 0, 100, 100}));
}

TEST_F(WindowTest, MoveAndSizeCarryClientCoordinates) {
  Recorder& procedure = Procedure("frame");
  std::vector<std::intptr_t> lParams;
  procedure.reaction = [&](const platform::Message& message) -> std::intptr_t {
    lParams.push_back(message.lParam);
    return 0;
  };
  const WindowHandle frame = Frame(procedure, {100, 100, 300, 200});
  platform::SetBounds(frame, {10, 20, 306, 228});
  // Client origin: 3 px border, 22 px caption; client size: 300 x 200.
  EXPECT_THAT(lParams, ElementsAre(13 | (45 << 16), 300 | (200 << 16)));
}

TEST_F(WindowTest, ShowingAFrameActivatesItAndGivesItTheFocus) {
  Recorder& aProcedure = Procedure("a");
  Recorder& bProcedure = Procedure("b");
  Recorder& childProcedure = Procedure("child");
  const WindowHandle a = Frame(aProcedure);
  const WindowHandle child = Child(a, WindowClass::Edit, childProcedure);
  const WindowHandle b = Frame(bProcedure);
  platform::ShowNativeWindow(a, vocab::Show::Show);
  platform::SetFocusTo(child);
  trace.clear();

  platform::ShowNativeWindow(b, vocab::Show::Normal);
  EXPECT_THAT(trace, ElementsAre("b:ShowWindow(1)", "a:Activate(0)", "b:Activate(1)",
                                 "child:KillFocus(" + H(b) + ")", "b:SetFocus(" + H(child) + ")"));
  EXPECT_EQ(platform::ActiveWindow(), b);
  EXPECT_EQ(platform::FocusedWindow(), b);

  // Focusing a window of the inactive frame activates that frame first.
  trace.clear();
  platform::SetFocusTo(child);
  EXPECT_THAT(trace, ElementsAre("b:Activate(0)", "a:Activate(1)", "b:KillFocus(" + H(a) + ")",
                                 "a:SetFocus(" + H(b) + ")", "a:KillFocus(" + H(child) + ")",
                                 "child:SetFocus(" + H(a) + ")"));
}

TEST_F(WindowTest, ShowWithoutActivationAndShowingTheActiveWindowAgainSendNoActivation) {
  Recorder& aProcedure = Procedure("a");
  Recorder& bProcedure = Procedure("b");
  const WindowHandle a = Frame(aProcedure);
  const WindowHandle b = Frame(bProcedure);
  platform::ShowNativeWindow(a, vocab::Show::Show);
  trace.clear();
  platform::ShowNativeWindow(b, vocab::Show::ShowNoActivate);
  platform::ShowNativeWindow(a, vocab::Show::Show);
  EXPECT_THAT(trace, ElementsAre("b:ShowWindow(1)"));
  EXPECT_EQ(platform::ActiveWindow(), a);
}

TEST_F(WindowTest, HidingDisablingOrDestroyingTheFocusedWindowLeavesNoFocus) {
  enum class Loss { Hide, HideParent, Disable, Destroy };
  for (Loss loss : {Loss::Hide, Loss::HideParent, Loss::Disable, Loss::Destroy}) {
    SCOPED_TRACE(static_cast<int>(loss));
    Recorder& frameProcedure = Procedure("frame");
    Recorder& editProcedure = Procedure("edit");
    const WindowHandle frame = Frame(frameProcedure);
    const WindowHandle edit = Child(frame, WindowClass::Edit, editProcedure);
    platform::ShowNativeWindow(frame, vocab::Show::Show);
    platform::SetFocusTo(edit);
    trace.clear();
    switch (loss) {
      case Loss::Hide: platform::ShowNativeWindow(edit, vocab::Show::Hide); break;
      case Loss::HideParent: platform::ShowNativeWindow(frame, vocab::Show::Hide); break;
      case Loss::Disable: platform::EnableNativeWindow(edit, false); break;
      case Loss::Destroy: platform::DestroyNativeWindow(edit); break;
    }
    EXPECT_EQ(platform::FocusedWindow(), WindowHandle::None);
    EXPECT_THAT(trace, ::testing::Contains("edit:KillFocus(0)"));
    Reset();
  }
}

TEST_F(WindowTest, DestroyGoesParentFirstAndTheFinalMessageChildrenFirst) {
  Recorder& pProcedure = Procedure("p");
  Recorder& aProcedure = Procedure("a");
  Recorder& a1Procedure = Procedure("a1");
  Recorder& bProcedure = Procedure("b");
  const WindowHandle p = Frame(pProcedure);
  const WindowHandle a = Child(p, WindowClass::Label, aProcedure);
  Child(a, WindowClass::Button, a1Procedure);
  Child(p, WindowClass::Edit, bProcedure);
  bool existedDuringDestroy = false;
  pProcedure.reaction = [&](const platform::Message& message) -> std::intptr_t {
    if (message.id == vocab::msg::Destroy) existedDuringDestroy = platform::WindowExists(a);
    return 0;
  };
  platform::DestroyNativeWindow(p);
  EXPECT_THAT(trace, ElementsAre("p:Destroy(0)", "a:Destroy(0)", "a1:Destroy(0)", "b:Destroy(0)",
                                 "b:NcDestroy(0)", "a1:NcDestroy(0)", "a:NcDestroy(0)",
                                 "p:NcDestroy(0)"));
  EXPECT_TRUE(existedDuringDestroy);
  EXPECT_FALSE(platform::WindowExists(p));
  EXPECT_FALSE(platform::WindowExists(a));
  EXPECT_THAT(TopLevelWindows(), IsEmpty());
}

// A procedure object that frees itself on its final message, as the kinds do.
class SelfFreeing final : public platform::WindowProcedure {
 public:
  explicit SelfFreeing(int& finals) : finals_(finals) {}
  std::intptr_t OnMessage(const platform::Message& message) override {
    if (message.id == vocab::msg::NcDestroy) {
      ++finals_;
      delete this;
    }
    return 0;
  }

 private:
  int& finals_;
};

TEST_F(WindowTest, ProceduresMayFreeThemselvesAndDestroyOtherWindowsWhileBeingDestroyed) {
  int finals = 0;
  Recorder& frameProcedure = Procedure("frame");
  const WindowHandle frame = Frame(frameProcedure);
  platform::WindowSpec request;
  request.windowClass = WindowClass::Label;
  request.style = vocab::style::Child;
  request.parent = frame;
  request.procedure = new SelfFreeing(finals);
  const WindowHandle one = platform::CreateNativeWindow(request);
  request.procedure = new SelfFreeing(finals);
  const WindowHandle two = platform::CreateNativeWindow(request);
  Recorder& otherProcedure = Procedure("other");
  const WindowHandle other = Frame(otherProcedure);
  // While the frame goes, its procedure destroys a child that is going anyway and an
  // unrelated window.
  frameProcedure.reaction = [&](const platform::Message& message) -> std::intptr_t {
    if (message.id == vocab::msg::Destroy) {
      platform::DestroyNativeWindow(two);
      platform::DestroyNativeWindow(other);
    }
    return 0;
  };
  platform::DestroyNativeWindow(frame);
  EXPECT_EQ(finals, 2);
  EXPECT_FALSE(platform::WindowExists(one));
  EXPECT_FALSE(platform::WindowExists(other));
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "other:NcDestroy(0)"), 1);
}

TEST_F(WindowTest, HandlesAreNeverReusedNotEvenAfterReset) {
  std::set<WindowHandle> seen;
  for (int round = 0; round < 3; ++round) {
    Recorder& procedure = Procedure("w");
    for (int i = 0; i < 4; ++i) {
      const WindowHandle window = Frame(procedure);
      ASSERT_NE(window, WindowHandle::None);
      EXPECT_TRUE(seen.insert(window).second);
      if (i % 2 == 0) platform::DestroyNativeWindow(window);
    }
    Reset();
  }
  for (WindowHandle stale : seen) EXPECT_FALSE(platform::WindowExists(stale));
}

TEST_F(WindowTest, ResetDestroysRemainingWindowsThroughTheirProcedures) {
  Recorder& frameProcedure = Procedure("frame");
  Recorder& childProcedure = Procedure("child");
  Child(Frame(frameProcedure), WindowClass::Button, childProcedure);
  Reset();
  EXPECT_THAT(trace, ElementsAre("frame:Destroy(0)", "child:Destroy(0)", "child:NcDestroy(0)",
                                 "frame:NcDestroy(0)"));
  EXPECT_THAT(TopLevelWindows(), IsEmpty());
}

TEST_F(WindowTest, QueuedInputForADestroyedWindowIsDropped) {
  Recorder& frameProcedure = Procedure("frame");
  Recorder& buttonProcedure = Procedure("button");
  const WindowHandle frame = Frame(frameProcedure);
  const WindowHandle button = Child(frame, WindowClass::Button, buttonProcedure);
  platform::ShowNativeWindow(frame, vocab::Show::Show);
  Trace offered;
  RecordingFilter filter(offered);
  platform::InstallMessageFilter(&filter);
  // The press destroys the button; the release queued behind it has no target any more.
  filter.claim = [&](platform::Message& message) {
    if (message.id == vocab::msg::LButtonDown) platform::DestroyNativeWindow(button);
    return false;
  };
  Click(button);
  EXPECT_THAT(offered, ElementsAre("filter:LButtonDown(1)"));
}

TEST_F(WindowTest, OwnedWindowsGoBeforeTheirOwner) {
  Recorder& ownerProcedure = Procedure("owner");
  Recorder& ownedProcedure = Procedure("owned");
  platform::WindowSpec request;
  request.windowClass = WindowClass::HiddenOwner;
  request.exStyle = vocab::exstyle::ToolWindow;
  request.procedure = &ownerProcedure;
  const WindowHandle owner = platform::CreateNativeWindow(request);
  request.windowClass = WindowClass::Frame;
  request.owner = owner;
  request.procedure = &ownedProcedure;
  const WindowHandle owned = platform::CreateNativeWindow(request);
  platform::DestroyNativeWindow(owner);
  EXPECT_THAT(trace, ElementsAre("owned:Destroy(0)", "owned:NcDestroy(0)", "owner:Destroy(0)",
                                 "owner:NcDestroy(0)"));
  EXPECT_FALSE(platform::WindowExists(owned));
}

TEST_F(WindowTest, TheUserMinimizingAndRestoringAFrame) {
  Recorder& frameProcedure = Procedure("frame");
  Recorder& editProcedure = Procedure("edit");
  const WindowHandle frame = Frame(frameProcedure, {0, 0, 306, 228});
  const WindowHandle edit = Child(frame, WindowClass::Edit, editProcedure);
  platform::ShowNativeWindow(frame, vocab::Show::Show);
  platform::SetFocusTo(edit);
  trace.clear();

  Minimize(frame);
  EXPECT_TRUE(platform::IsMinimized(frame));
  EXPECT_EQ(platform::ActiveWindow(), WindowHandle::None);
  EXPECT_EQ(platform::FocusedWindow(), WindowHandle::None);
  EXPECT_THAT(trace, ElementsAre("frame:Size(1)", "frame:Activate(0)", "edit:KillFocus(0)"));

  trace.clear();
  Restore(frame);
  EXPECT_FALSE(platform::IsMinimized(frame));
  EXPECT_EQ(platform::FocusedWindow(), frame);
  EXPECT_THAT(trace, ElementsAre("frame:Size(0)", "frame:Activate(1)", "frame:SetFocus(0)"));
  EXPECT_EQ(platform::ClientSizeOf(frame), (platform::Size{300, 200}));
}

TEST_F(WindowTest, PlaceBelowOrdersSiblings) {
  Recorder& procedure = Procedure("w");
  const WindowHandle frame = Frame(procedure);
  const WindowHandle a = Child(frame, WindowClass::Label, procedure);
  const WindowHandle b = Child(frame, WindowClass::Label, procedure);
  const WindowHandle c = Child(frame, WindowClass::Label, procedure);
  EXPECT_THAT(ChildrenOf(frame), ElementsAre(a, b, c));  // creation order, first on top
  platform::PlaceBelow(a, c);
  EXPECT_THAT(ChildrenOf(frame), ElementsAre(b, c, a));
  platform::PlaceBelow(c, WindowHandle::None);
  EXPECT_THAT(ChildrenOf(frame), ElementsAre(c, b, a));
  platform::PlaceBelow(b, frame);  // not a sibling: nothing changes
  EXPECT_THAT(ChildrenOf(frame), ElementsAre(c, b, a));
}

TEST_F(WindowTest, StateBitsFollowTheirOwnCallsAndShowInTheStyle) {
  Recorder& procedure = Procedure("w");
  const WindowHandle frame = Frame(procedure, {10, 10, 300, 200},
                                   vocab::style::Caption | vocab::style::ThickFrame);
  platform::ShowNativeWindow(frame, vocab::Show::ShowMaximized);
  EXPECT_TRUE(platform::IsMaximized(frame));
  EXPECT_EQ(platform::BoundsOf(frame), platform::WorkAreaNear(frame));
  // Rewriting the styles cannot hide the window or drop the maximized state.
  platform::SetStyles(frame, vocab::style::Caption, 0);
  EXPECT_EQ(platform::StyleOf(frame),
            vocab::style::Caption | vocab::style::Visible | vocab::style::Maximize);
  platform::ShowNativeWindow(frame, vocab::Show::Restore);
  EXPECT_FALSE(platform::IsMaximized(frame));
  EXPECT_EQ(platform::BoundsOf(frame), (platform::Rect{10, 10, 300, 200}));
}

TEST_F(WindowTest, CreationIsRefusedForFailedClassesAndChildrenWithoutAParent) {
  Recorder& procedure = Procedure("w");
  FailWindowClass(WindowClass::Button);
  const WindowHandle frame = Frame(procedure);
  EXPECT_NE(frame, WindowHandle::None);
  EXPECT_EQ(Child(frame, WindowClass::Button, procedure), WindowHandle::None);
  EXPECT_NE(Child(frame, WindowClass::Edit, procedure), WindowHandle::None);
  EXPECT_EQ(Child(WindowHandle::None, WindowClass::Edit, procedure), WindowHandle::None);
}

}  // namespace
}  // namespace pelmora::sim::testing
