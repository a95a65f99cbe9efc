#include "runtime/mci_channel.h"

#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>

#include "base/text.h"

namespace tovel {

bool WinMciChannel::Send(const std::wstring& command, std::wstring* answer) {
  wchar_t reply[256] = L"";
  const MCIERROR err = ::mciSendStringW(command.c_str(), reply, ARRAYSIZE(reply), nullptr);
  if (answer) *answer = reply;
  return err == 0;
}

bool WinMciChannel::IsLiveWindow(std::intptr_t window) {
  return window != 0 && ::IsWindow(reinterpret_cast<HWND>(window));
}

WinMciChannel& PlatformMci() {
  static WinMciChannel channel;
  return channel;
}

// The GUID's text form without "-"; the braces go too, as MCI aliases are plain words.
Text NewMediaAlias() {
  GUID guid;
  if (FAILED(::CoCreateGuid(&guid))) return {};
  wchar_t text[64];
  if (::StringFromGUID2(guid, text, ARRAYSIZE(text)) == 0) return {};
  std::wstring alias;
  for (const wchar_t* p = text; *p; ++p)
    if (*p != L'-' && *p != L'{' && *p != L'}') alias += *p;
  return Narrow(alias);
}

}  // namespace tovel
