// Window records of the test program live on pages of their own that are taken
// away when a record is freed and never handed out again: any read of a record
// after its window's end stops the test program at once, instead of reading
// whatever the heap left there.
#include <windows.h>

#include <cstdlib>
#include <new>

#include "skin/engine.h"

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kRecordBytes = sizeof(tovel::skin::SkinnedWindow);
constexpr size_t kRecordPages = (kRecordBytes + kPage - 1) / kPage;
constexpr size_t kReserved = size_t{256} << 20;

char* gBase = nullptr;
size_t gUsed = 0;

// Reserved once; a freed record's pages stay reserved, so no later record reuses them.
void* GuardedRecord() {
  if (!gBase) gBase = static_cast<char*>(::VirtualAlloc(nullptr, kReserved, MEM_RESERVE, PAGE_NOACCESS));
  const size_t bytes = kRecordPages * kPage;
  if (!gBase || gUsed + bytes > kReserved) return nullptr;
  void* at = ::VirtualAlloc(gBase + gUsed, bytes, MEM_COMMIT, PAGE_READWRITE);
  gUsed += bytes;
  return at;
}

bool IsGuarded(void* p) { return gBase && p >= gBase && p < gBase + kReserved; }

void* Allocate(size_t bytes) {
  if (bytes == kRecordBytes)
    if (void* p = GuardedRecord()) return p;
  if (void* p = std::malloc(bytes ? bytes : 1)) return p;
  throw std::bad_alloc();
}

void Free(void* p) {
  if (IsGuarded(p))
    ::VirtualFree(p, kRecordPages * kPage, MEM_DECOMMIT);
  else
    std::free(p);
}

}  // namespace

void* operator new(size_t bytes) { return Allocate(bytes); }
void* operator new[](size_t bytes) { return Allocate(bytes); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, size_t) noexcept { Free(p); }
void operator delete[](void* p, size_t) noexcept { Free(p); }
