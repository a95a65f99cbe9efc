#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tovel {

// Texts are UTF-8 inside the program; they become UTF-16 at every platform call.
using Text = std::string;

// A null text reference means the empty text.
inline Text TextOf(const char* s) { return s ? Text(s) : Text(); }

using ByteSet = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// Type codes of command arguments, for commands that take typed or optional values.
enum class ArgType : std::uint32_t {
  None = 0,
  Byte = 0x80000101,
  Int16 = 0x80000201,
  Int32 = 0x80000301,
  Int64 = 0x80000401,
  Float = 0x80000501,
  Double = 0x80000601,
  Logical = 0x80000002,
  DateTime = 0x80000003,
  Text = 0x80000004,
  ByteSet = 0x80000005,
  Subroutine = 0x80000006,
};

constexpr int kErrorIndexAboveCount = 1;
constexpr int kErrorIndexBelowOne = 4;
constexpr int kErrorRemainderByZero = 11;

inline constexpr std::string_view kMessageIndexAboveCount = "数组成员引用下标超出定义范围";
inline constexpr std::string_view kMessageIndexBelowOne = "数组成员引用下标必须大于等于1";
inline constexpr std::string_view kMessageRemainderByZero = "不能求余数于零";

struct RuntimeError {
  int code = 0;
  Text message;
};

// The text of the fatal message box: title line, code and message, CR LF separated.
Text FormatRuntimeError(const RuntimeError& error);

// A hook sees the error first (tests throw from it); the reporter shows it.
using RuntimeErrorHook = std::function<void(const RuntimeError&)>;
using FatalReporter = void (*)(const Text& formatted);
void SetRuntimeErrorHook(RuntimeErrorHook hook);
void SetFatalReporter(FatalReporter reporter);

// Reports the error and ends the process with exit code -1 unless the hook leaves by throwing.
[[noreturn]] void RaiseRuntimeError(int code, std::string_view message);

// Remainder of reals as the language defines it; a zero divisor is a runtime error.
double RealRemainder(double dividend, double divisor);

// One-dimensional, 1-based array as the application's handlers use it.
template <class T>
class Array {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  const T& At(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index - 1)];
  }
  T& At(int index) {
    CheckIndex(index);
    return items_[static_cast<size_t>(index - 1)];
  }

  void Append(T value) { items_.push_back(std::move(value)); }

  // Out-of-range positions change nothing, as the runtime's removal does.
  void RemoveAtPosition(int position0) {
    if (position0 < 0 || position0 >= Count()) return;
    items_.erase(items_.begin() + position0);
  }

  void Clear() { items_.clear(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  void CheckIndex(int index) const {
    if (index < 1) RaiseRuntimeError(kErrorIndexBelowOne, kMessageIndexBelowOne);
    if (index > Count()) RaiseRuntimeError(kErrorIndexAboveCount, kMessageIndexAboveCount);
  }

  std::vector<T> items_;
};

}  // namespace tovel
