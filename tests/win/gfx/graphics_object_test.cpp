#include <vector>

#include "gfx_test_support.h"

namespace tovel::test {
namespace {

TEST(GraphicsObject, DeleteOnEmptyWrappersReturnsFalseAndKeepsLastStatus) {
  lastStatus = 1234;
  Graphics surface;
  Image image;
  SolidBrush brush;
  EXPECT_FALSE(surface.Delete());
  EXPECT_FALSE(image.Dispose());
  EXPECT_FALSE(brush.DeleteBrush());
  EXPECT_EQ(lastStatus, 1234);
}

TEST(GraphicsObject, DeleteReleasesAndEmptiesTheWrapper) {
  Canvas canvas(4, 4);
  lastStatus = 1234;
  EXPECT_TRUE(canvas.surface.Delete());
  EXPECT_EQ(lastStatus, 0);
  EXPECT_EQ(canvas.surface.GetNative(), nullptr);
  EXPECT_FALSE(canvas.surface.Delete());
}

TEST(GraphicsObject, FailuresLeaveThePlatformStatus) {
  Graphics empty;
  EXPECT_FALSE(empty.Clear(0xFF000000));
  EXPECT_EQ(lastStatus, 2);  // InvalidParameter
  EXPECT_EQ(empty.GetSmoothingMode(), 0);
  EXPECT_EQ(lastStatus, 2);  // getters record too
}

TEST(GraphicsObject, HandlesMoveBetweenWrappersWithOneOwner) {
  SolidBrush a;
  ASSERT_TRUE(a.CreateSolidFill(0xFF112233));
  void* h = a.GetNative();

  SolidBrush b(std::move(a));
  EXPECT_EQ(a.GetNative(), nullptr);
  EXPECT_EQ(b.GetNative(), h);

  SolidBrush c;
  c.SetNative(b.Detach());
  EXPECT_EQ(b.GetNative(), nullptr);
  EXPECT_EQ(c.GetSolidFillColor(), 0xFF112233u);

  // Adopting a new object releases the one held before.
  SolidBrush d;
  ASSERT_TRUE(d.CreateSolidFill(0xFF445566));
  c = std::move(d);
  EXPECT_EQ(c.GetSolidFillColor(), 0xFF445566u);
  EXPECT_EQ(d.GetNative(), nullptr);
}

class HookedBrush : public SolidBrush {
 public:
  std::vector<void*> seen;

 protected:
  void OnNativeChanged(void* h) override { seen.push_back(h); }
};

TEST(GraphicsObject, EverySetNativeReachesTheSubclassHook) {
  HookedBrush brush;
  ASSERT_TRUE(brush.CreateSolidFill(0xFF000000));
  void* h = brush.GetNative();
  ASSERT_TRUE(brush.DeleteBrush());
  ASSERT_EQ(brush.seen.size(), 2u);
  EXPECT_EQ(brush.seen[0], h);
  EXPECT_EQ(brush.seen[1], nullptr);
}

// Wine's shutdown drops the font cache whatever the start count, so this test needs a
// process of its own, as CTest gives every test.
TEST(GraphicsStartup, ShutdownWithoutTokenClearsTheGlobalOnce) {
  const std::uintptr_t token = StartGraphics();
  ASSERT_NE(token, 0u);
  EXPECT_EQ(graphicsToken, token);
  ShutdownGraphics();
  EXPECT_EQ(graphicsToken, 0u);
  ShutdownGraphics();  // nothing left to shut down
  EXPECT_EQ(graphicsToken, 0u);

  // A given token that is the global one clears it too.
  const std::uintptr_t again = StartGraphics(1);
  ShutdownGraphics(again);
  EXPECT_EQ(graphicsToken, 0u);

  // The library started by the test program still works.
  Canvas canvas(2, 2);
  EXPECT_TRUE(canvas.surface.Clear(0xFF00FF00));
  EXPECT_EQ(canvas.At(1, 1), 0xFF00FF00u);
}

TEST(GraphicsObject, TextToWideGivesTerminatedUtf16) {
  EXPECT_EQ(TextToWide(""), (ByteSet{0, 0}));
  EXPECT_EQ(TextToWide("A"), (ByteSet{'A', 0, 0, 0}));
  EXPECT_EQ(TextToWide("中文"), (ByteSet{0x2D, 0x4E, 0x87, 0x65, 0, 0}));
  EXPECT_EQ(TextToWide("\xF0\x9F\x8E\xB5").size(), 6u);  // a surrogate pair and the end
}

TEST(GraphicsObject, AllocatesLibraryMemory) {
  void* block = GraphicsObject::Alloc(60);
  ASSERT_NE(block, nullptr);
  static_cast<char*>(block)[59] = 1;
  GraphicsObject::Free(block);
}

}  // namespace
}  // namespace tovel::test
