#include "base/value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tovel {
namespace {

RuntimeErrorHook gHook;

void ReportToStandardError(const Text& formatted) {
  std::fprintf(stderr, "%s\n", formatted.c_str());
}

FatalReporter gReporter = ReportToStandardError;

}  // namespace

Text FormatRuntimeError(const RuntimeError& error) {
  return "运行时出错!\r\n\r\n错误代码：" + std::to_string(error.code) + "\r\n\r\n错误信息：" + error.message;
}

void SetRuntimeErrorHook(RuntimeErrorHook hook) { gHook = std::move(hook); }

void SetFatalReporter(FatalReporter reporter) { gReporter = reporter ? reporter : ReportToStandardError; }

void RaiseRuntimeError(int code, std::string_view message) {
  RuntimeError error{code, Text(message)};
  if (gHook) gHook(error);
  gReporter(FormatRuntimeError(error));
  std::fflush(nullptr);
  std::_Exit(-1);
}

double RealRemainder(double dividend, double divisor) {
  if (divisor == 0) RaiseRuntimeError(kErrorRemainderByZero, kMessageRemainderByZero);
  return std::fmod(dividend, divisor);
}

}  // namespace tovel
