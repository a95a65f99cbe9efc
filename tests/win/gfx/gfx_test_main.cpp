// The library is started once for the whole test program, as the program does.
#include <gtest/gtest.h>

#include "gfx/graphics_object.h"

namespace {
class GraphicsEnvironment : public testing::Environment {
 public:
  void SetUp() override { token_ = tovel::StartGraphics(); }
  void TearDown() override { tovel::ShutdownGraphics(token_); }

 private:
  std::uintptr_t token_ = 0;
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new GraphicsEnvironment);
}  // namespace
