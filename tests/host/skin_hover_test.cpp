#include <gtest/gtest.h>

#include "skin/hover.h"

namespace tovel::skin {
namespace {

constexpr ControlPosition kButton{Family::Buttons, 1};
constexpr ControlPosition kSecondButton{Family::Buttons, 2};
constexpr ControlPosition kList{Family::ListControls, 1};

TEST(SkinHover, OneControlIsHotFromItsFirstMoveUntilItLeaves) {
  HoverState h;
  EXPECT_FALSE(h.IsHot(kButton));
  EXPECT_EQ(h.Move(kButton), Pointer::Entered);
  EXPECT_TRUE(h.IsHot(kButton));
  EXPECT_EQ(h.Move(kButton), Pointer::Within);
  EXPECT_EQ(h.Move(kButton), Pointer::Within);
  EXPECT_EQ(h.Leave(kButton), Pointer::Left);
  EXPECT_FALSE(h.IsHot(kButton));
  // Coming back lights it again.
  EXPECT_EQ(h.Move(kButton), Pointer::Entered);
}

TEST(SkinHover, TheSamePositionInAnotherFamilyIsAnotherControl) {
  HoverState h;
  EXPECT_EQ(h.Move(kButton), Pointer::Entered);
  EXPECT_EQ(h.Move(kList), Pointer::Entered);
  EXPECT_FALSE(h.IsHot(kButton));
  EXPECT_TRUE(h.IsHot(kList));
  EXPECT_EQ(h.Move(kButton), Pointer::Entered);
  EXPECT_EQ(h.Move(kSecondButton), Pointer::Entered);
  EXPECT_EQ(h.Move(kSecondButton), Pointer::Within);
}

TEST(SkinHover, ALateLeaveOfTheLastControlLeavesTheNewOneHot) {
  HoverState h;
  h.Move(kList);
  // The pointer crossed onto the button, whose move came before the list's leave.
  EXPECT_EQ(h.Move(kButton), Pointer::Entered);
  EXPECT_EQ(h.Leave(kList), Pointer::Left);
  EXPECT_TRUE(h.IsHot(kButton));
  EXPECT_EQ(h.Move(kButton), Pointer::Within);
  // A leave of a control that was never hot changes nothing either.
  EXPECT_EQ(h.Leave(kSecondButton), Pointer::Left);
  EXPECT_TRUE(h.IsHot(kButton));
}

TEST(SkinHover, PositionZeroIsNoControl) {
  HoverState h;
  const ControlPosition none{Family::Buttons, 0};
  h.Move(none);
  EXPECT_FALSE(h.IsHot(none));
  EXPECT_EQ(h.Move(kButton), Pointer::Entered);
}

}  // namespace
}  // namespace tovel::skin
