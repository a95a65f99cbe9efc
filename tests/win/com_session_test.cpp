#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include "app/com_session.h"

namespace tovel {
namespace {

// COM is up on this thread when a fresh initialisation only counts another reference.
bool ComUp() {
  const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(hr)) ::CoUninitialize();
  return hr == S_FALSE;
}

TEST(ComSession, StartsOnFirstNeedOnceAndEndsWhenTheProgramSays) {
  EXPECT_FALSE(ComUp());
  EXPECT_TRUE(EnsureCom());
  EXPECT_TRUE(ComUp());
  EXPECT_TRUE(EnsureCom());
  EndCom();
  EXPECT_FALSE(ComUp()) << "a second EnsureCom must not take a second reference";
  EndCom();  // nothing started: nothing to end
  EXPECT_FALSE(ComUp());
}

}  // namespace
}  // namespace tovel
