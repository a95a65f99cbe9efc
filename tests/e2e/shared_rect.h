#pragma once
// A rectangle both this process and the program read at the same address, for a
// message whose lParam points to one (WM_DPICHANGED's suggested place).

#include <windows.h>

#include <vector>

namespace tovel::e2e {

// A rectangle at one address in the program and in this process: a message's lParam then
// reads the same whether the system copies what it points to across or passes it as it is.
class SharedRect {
 public:
  SharedRect(HANDLE process, const RECT& rect) : process_(process) {
    // An address free on one side is tried on the other, picked here and there in turn,
    // until one is free in both; those tried stay taken meanwhile, so each try is new.
    std::vector<void*> triedHere, triedThere;
    constexpr DWORD kNew = MEM_RESERVE | MEM_COMMIT;
    for (int i = 0; i < 256 && !ok(); ++i) {
      const bool pickHere = i % 2 == 0;
      void* picked = pickHere ? ::VirtualAlloc(nullptr, sizeof(RECT), kNew, PAGE_READWRITE)
                              : ::VirtualAllocEx(process, nullptr, sizeof(RECT), kNew, PAGE_READWRITE);
      if (!picked) continue;
      void* other = pickHere ? ::VirtualAllocEx(process, picked, sizeof(RECT), kNew, PAGE_READWRITE)
                             : ::VirtualAlloc(picked, sizeof(RECT), kNew, PAGE_READWRITE);
      if (other == picked) {
        local_ = remote_ = picked;
        break;
      }
      (pickHere ? triedHere : triedThere).push_back(picked);
      if (other && pickHere) ::VirtualFreeEx(process, other, 0, MEM_RELEASE);
      if (other && !pickHere) ::VirtualFree(other, 0, MEM_RELEASE);
    }
    for (void* p : triedHere) ::VirtualFree(p, 0, MEM_RELEASE);
    for (void* p : triedThere) ::VirtualFreeEx(process, p, 0, MEM_RELEASE);
    if (!ok()) return;
    ::WriteProcessMemory(process, remote_, &rect, sizeof(rect), nullptr);
    *static_cast<RECT*>(local_) = rect;
  }
  ~SharedRect() {
    if (local_) ::VirtualFree(local_, 0, MEM_RELEASE);
    if (remote_) ::VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  }
  SharedRect(const SharedRect&) = delete;
  SharedRect& operator=(const SharedRect&) = delete;
  bool ok() const { return remote_ && local_ == remote_; }
  LPARAM address() const { return reinterpret_cast<LPARAM>(remote_); }

 private:
  HANDLE process_;
  void* remote_ = nullptr;
  void* local_ = nullptr;
};

}  // namespace tovel::e2e
