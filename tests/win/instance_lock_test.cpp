#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/instance_lock.h"

namespace tovel {
namespace {

// A scratch folder per test, removed afterwards.
class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, tmp);
    dir_ = std::wstring(tmp) + L"tovel-lock-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter_++);
    ::CreateDirectoryW(dir_.c_str(), nullptr);
    primary_ = dir_ + L"\\Tovel音乐盒子2014";
    fallback_ = dir_ + L"\\fallback";
    ::CreateDirectoryW(fallback_.c_str(), nullptr);
    fallback_ += L"\\Tovel音乐盒子2014";
    mutexName_ = L"Local\\tovel-lock-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(counter_);
  }
  void TearDown() override {
    RemoveMarkers();
    ::RemoveDirectoryW((dir_ + L"\\fallback").c_str());
    ::RemoveDirectoryW(dir_.c_str());
  }

  // One start of the program. The fallback place is asked for only when the primary one
  // cannot hold the marker.
  InstanceLock Acquire(const std::wstring& primary) {
    return AcquireInstanceLock(mutexName_, primary, [this] {
      ++fallbackLookups_;
      return fallback_;
    });
  }

  void RemoveMarkers() const {
    for (const auto& p : {primary_, fallback_}) {
      ::SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(p.c_str());
      ::RemoveDirectoryW(p.c_str());
    }
  }

  static std::string Contents(const std::wstring& path) {
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<unreadable>";
    char buf[16];
    DWORD n = 0;
    ::ReadFile(f, buf, sizeof buf, &n, nullptr);
    ::CloseHandle(f);
    return std::string(buf, n);
  }

  static inline int counter_ = 0;
  std::wstring dir_, primary_, fallback_, mutexName_;
  std::atomic<int> fallbackLookups_{0};
};

TEST_F(InstanceLockTest, NewMarkerIsHiddenHoldsOneZeroByteAndIsHeldExclusively) {
  InstanceLock first = Acquire(primary_);
  ASSERT_EQ(first.outcome, LockOutcome::Acquired);
  EXPECT_EQ(first.path, primary_);
  EXPECT_EQ(::GetFileAttributesW(primary_.c_str()) & 0x27, 0x22u);
  EXPECT_EQ(Contents(primary_), "<unreadable>");  // held without sharing
  EXPECT_FALSE(::DeleteFileW(primary_.c_str()));   // so it cannot be deleted either

  InstanceLock second = Acquire(primary_);
  EXPECT_EQ(second.outcome, LockOutcome::HeldElsewhere);
  EXPECT_EQ(::GetFileAttributesW(fallback_.c_str()), INVALID_FILE_ATTRIBUTES);  // no fallback taken
  EXPECT_EQ(fallbackLookups_, 0);

  first.file.reset();
  EXPECT_EQ(Contents(primary_), std::string(1, '\0'));
}

TEST_F(InstanceLockTest, LeftoverMarkerIsTakenOver) {
  { InstanceLock earlier = Acquire(primary_); }
  InstanceLock now = Acquire(primary_);
  EXPECT_EQ(now.outcome, LockOutcome::Acquired);
  EXPECT_EQ(now.path, primary_);
}

TEST_F(InstanceLockTest, UnwritablePrimaryFallsBackAndStillRefusesASecondInstance) {
  const std::wstring unwritable = dir_ + L"\\missing-folder\\Tovel音乐盒子2014";
  InstanceLock first = Acquire(unwritable);
  ASSERT_EQ(first.outcome, LockOutcome::Acquired);
  EXPECT_EQ(first.path, fallback_);
  EXPECT_EQ(::GetFileAttributesW(fallback_.c_str()) & 0x27, 0x22u);
  EXPECT_EQ(Acquire(unwritable).outcome, LockOutcome::HeldElsewhere);
}

TEST_F(InstanceLockTest, PrimaryThatCannotBeOpenedFallsBack) {
  // Something that exists but is no file: not another instance, so not "already running".
  ASSERT_TRUE(::CreateDirectoryW(primary_.c_str(), nullptr));
  InstanceLock first = Acquire(primary_);
  EXPECT_EQ(first.outcome, LockOutcome::Acquired);
  EXPECT_EQ(first.path, fallback_);
  EXPECT_EQ(Acquire(primary_).outcome, LockOutcome::HeldElsewhere);
}

// Many starts at the same moment, with and without a marker left from before: one wins.
TEST_F(InstanceLockTest, OfManySimultaneousStartsExactlyOneHoldsTheMarker) {
  constexpr int kStarts = 8;
  for (int round = 0; round < 40; ++round) {
    if (round % 2 == 0) {
      RemoveMarkers();
    }
    std::vector<InstanceLock> locks(kStarts);
    std::atomic<int> waiting{kStarts};
    std::vector<std::thread> starts;
    for (int i = 0; i < kStarts; ++i) {
      starts.emplace_back([&, i] {
        for (--waiting; waiting > 0;) std::this_thread::yield();
        locks[i] = Acquire(primary_);
      });
    }
    for (auto& t : starts) t.join();
    int held = 0;
    for (const InstanceLock& lock : locks) {
      held += lock.outcome == LockOutcome::Acquired;
      EXPECT_NE(lock.outcome, LockOutcome::NoLock) << "round " << round;
    }
    ASSERT_EQ(held, 1) << "round " << round;
  }
}

TEST_F(InstanceLockTest, NoPlaceAtAllRunsWithoutALock) {
  const std::wstring a = dir_ + L"\\no\\x";
  const std::wstring b = dir_ + L"\\nor\\y";
  EXPECT_EQ(AcquireInstanceLock(L"", a, [&] { return b; }).outcome, LockOutcome::NoLock);
  EXPECT_EQ(AcquireInstanceLock(L"", a, [] { return std::wstring(); }).outcome, LockOutcome::NoLock);
  EXPECT_EQ(AcquireInstanceLock(L"", a, nullptr).outcome, LockOutcome::NoLock);
}

// Neither marker place is usable: the mutex alone still allows one start and refuses the next.
TEST_F(InstanceLockTest, WithoutAnyMarkerPlaceTheMutexStillDecides) {
  const std::wstring a = dir_ + L"\\no\\x";
  InstanceLock first = AcquireInstanceLock(mutexName_, a, nullptr);
  EXPECT_EQ(first.outcome, LockOutcome::Acquired);
  EXPECT_TRUE(first.path.empty());
  EXPECT_EQ(AcquireInstanceLock(mutexName_, a, nullptr).outcome, LockOutcome::HeldElsewhere);
}

// An elevated start may take "c:\..." while a standard user's start is denied there and
// takes its own folder: whichever comes second, it is refused.
TEST_F(InstanceLockTest, StartsThatReachDifferentMarkersStillLetOnlyOneRun) {
  const std::wstring denied = dir_ + L"\\missing-folder\\Tovel音乐盒子2014";
  for (const bool deniedFirst : {true, false}) {
    InstanceLock first = Acquire(deniedFirst ? denied : primary_);
    ASSERT_EQ(first.outcome, LockOutcome::Acquired);
    EXPECT_EQ(first.path, deniedFirst ? fallback_ : primary_);
    InstanceLock second = Acquire(deniedFirst ? primary_ : denied);
    EXPECT_EQ(second.outcome, LockOutcome::HeldElsewhere) << (deniedFirst ? "denied first" : "denied second");
    EXPECT_FALSE(second.file) << "the refused start holds a marker";
    EXPECT_FALSE(second.mutex);
  }
}

// The exit closes the marker before it writes the export file; until the process ends,
// a new start must still be refused.
TEST_F(InstanceLockTest, ClosingTheMarkerLeavesTheInstanceHeldUntilTheLockGoes) {
  InstanceLock running = Acquire(primary_);
  ASSERT_EQ(running.outcome, LockOutcome::Acquired);
  running.file.reset();
  EXPECT_EQ(Acquire(primary_).outcome, LockOutcome::HeldElsewhere);
  EXPECT_EQ(Acquire(primary_).outcome, LockOutcome::HeldElsewhere) << "a refused start let the lock go";

  running = InstanceLock{};
  InstanceLock next = Acquire(primary_);
  EXPECT_EQ(next.outcome, LockOutcome::Acquired);
  EXPECT_EQ(next.path, primary_);
}

// An older copy of the program knows only the marker: while it holds it, no start runs.
TEST_F(InstanceLockTest, AMarkerHeldByAnOlderCopyRefusesTheStart) {
  HANDLE older = ::CreateFileW(primary_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(older, INVALID_HANDLE_VALUE);
  InstanceLock refused = Acquire(primary_);
  EXPECT_EQ(refused.outcome, LockOutcome::HeldElsewhere);
  EXPECT_FALSE(refused.mutex) << "the refused start keeps the mutex from the next one";
  ::CloseHandle(older);
  EXPECT_EQ(Acquire(primary_).outcome, LockOutcome::Acquired);
}

// A running instance that this start may not open (it runs elevated) counts as running.
TEST_F(InstanceLockTest, AMutexThatMayNotBeOpenedRefusesTheStart) {
  SECURITY_DESCRIPTOR sd;
  ASSERT_TRUE(::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
  ACL empty;  // no entries: nobody is granted anything
  ASSERT_TRUE(::InitializeAcl(&empty, sizeof empty, ACL_REVISION));
  ASSERT_TRUE(::SetSecurityDescriptorDacl(&sd, TRUE, &empty, FALSE));
  SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
  HANDLE elevated = ::CreateMutexW(&sa, FALSE, mutexName_.c_str());
  ASSERT_NE(elevated, nullptr);
  InstanceLock refused = Acquire(primary_);
  EXPECT_EQ(refused.outcome, LockOutcome::HeldElsewhere);
  EXPECT_EQ(::GetFileAttributesW(primary_.c_str()), INVALID_FILE_ATTRIBUTES) << "the refused start made a marker";
  ::CloseHandle(elevated);
}

}  // namespace
}  // namespace tovel
