#pragma once

#include "runtime/media.h"

namespace tovel {

// The platform's MCI: mciSendStringW.
class WinMciChannel : public MciChannel {
 public:
  bool Send(const std::wstring& command, std::wstring* answer = nullptr) override;
  bool IsLiveWindow(std::intptr_t window) override;
};

WinMciChannel& PlatformMci();

// A unique device alias from a fresh GUID: its hex digits only ("" if none can be made).
Text NewMediaAlias();

}  // namespace tovel
