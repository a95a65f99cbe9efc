#pragma once

// A media channel that answers every command and plays nothing: for tests of windows
// that need no sound device.
#include <cstdint>
#include <string>

#include "runtime/mci_channel.h"

namespace tovel::testing {

class SilentMci : public MciChannel {
 public:
  bool Send(const std::wstring&, std::wstring* answer) override {
    if (answer) answer->clear();
    return true;
  }
  bool IsLiveWindow(std::intptr_t) override { return false; }
};

}  // namespace tovel::testing
