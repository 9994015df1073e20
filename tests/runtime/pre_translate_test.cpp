// Pre-translation in the message loop: the target's control first, then each parent's up to
// the top-level window; the first claim wins.
#include <gtest/gtest.h>

#include <set>

#include "platform/sim/sim.h"
#include "tests/support/runtime_fixture.h"

namespace pelmora::testing {
namespace {

constexpr WindowId kMain = 0x52010001;
constexpr ControlId kOwn = 0x06010000;
constexpr ControlId kPanel = 0x16010003;
constexpr ControlId kInner = 0x16010004;
constexpr ControlId kBeside = 0x16010005;

class PreTranslateTest : public RuntimeTest {
 public:
  void SetUp() override {
    RuntimeTest::SetUp();
    auto hook = [this](ControlId control, platform::Message&) {
      offers.push_back(control);
      if (control == destroyer) platform::DestroyNativeWindow(NativeWindowOf(kMain, kOwn));
      return claimers.contains(control);
    };
    windowKind.onPreTranslate = hook;
    childKind.onPreTranslate = hook;
    Load({WindowOf(kMain, {ControlBuilder(kOwn, kind_ids::Window).At(0, 0, 300, 200),
                           ControlBuilder(kPanel, kFixtureChildKindId).At(0, 0, 100, 100),
                           ControlBuilder(kInner, kFixtureChildKindId).Container(kPanel),
                           ControlBuilder(kBeside, kFixtureChildKindId)})});
  }
  bool Offer(ControlId target) {
    offers.clear();
    platform::Message message{NativeWindowOf(kMain, target), vocab::msg::KeyDown, vocab::vk::Tab, 0};
    return runtime->PreTranslate(message);
  }

  std::vector<ControlId> offers;
  std::set<ControlId> claimers;
  ControlId destroyer = 0;
};

TEST_F(PreTranslateTest, FromTheTargetUpToTheWindowUntilClaimed) {
  struct Case {
    std::set<ControlId> claimers;
    std::vector<ControlId> offers;
    bool claimed;
  };
  const Case cases[] = {
      {{}, {kInner, kPanel, kOwn}, false},
      {{kInner}, {kInner}, true},
      {{kPanel}, {kInner, kPanel}, true},
      {{kOwn, kPanel}, {kInner, kPanel}, true},
      {{kOwn}, {kInner, kPanel, kOwn}, true},
  };
  for (const Case& c : cases) {
    claimers = c.claimers;
    EXPECT_EQ(Offer(kInner), c.claimed);
    EXPECT_EQ(offers, c.offers);
  }
  claimers.clear();
  EXPECT_FALSE(Offer(kBeside));
  EXPECT_EQ(offers, (std::vector<ControlId>{kBeside, kOwn}));
}

TEST_F(PreTranslateTest, AWindowOfNoLoadedControlIsNotOffered) {
  platform::Message message{runtime->HiddenOwner(), vocab::msg::KeyDown, vocab::vk::Tab, 0};
  EXPECT_FALSE(runtime->PreTranslate(message));
  EXPECT_TRUE(offers.empty());
}

TEST_F(PreTranslateTest, AControlThatEndsTheWindowEndsTheOffer) {
  destroyer = kInner;
  EXPECT_TRUE(Offer(kInner));
  EXPECT_EQ(offers, (std::vector<ControlId>{kInner}));
  EXPECT_EQ(NativeWindowOf(kMain, kOwn), platform::WindowHandle::None);
}

}  // namespace
}  // namespace pelmora::testing
