#include <gtest/gtest.h>

#include "base/value.h"

namespace tovel {
namespace {

// Runtime errors end the process; tests catch them through the hook instead.
class RuntimeErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHook([](const RuntimeError& e) { throw e; });
  }
  void TearDown() override { SetRuntimeErrorHook(nullptr); }

  template <class F>
  static RuntimeError Catch(F&& f) {
    try {
      f();
    } catch (const RuntimeError& e) {
      return e;
    }
    return {};
  }
};

TEST_F(RuntimeErrors, ArrayIndexesAreOneBasedAndChecked) {
  Array<Text> a;
  a.Append("first");
  a.Append("second");
  EXPECT_EQ(a.At(1), "first");
  EXPECT_EQ(a.At(2), "second");

  RuntimeError below = Catch([&] { a.At(0); });
  EXPECT_EQ(below.code, 4);
  EXPECT_EQ(below.message, "数组成员引用下标必须大于等于1");

  RuntimeError above = Catch([&] { a.At(3); });
  EXPECT_EQ(above.code, 1);
  EXPECT_EQ(above.message, "数组成员引用下标超出定义范围");

  Array<Text> empty;
  EXPECT_EQ(Catch([&] { empty.At(1); }).code, 1);
  EXPECT_EQ(Catch([&] { empty.At(-5); }).code, 4);
}

TEST_F(RuntimeErrors, RemainderByZeroIsARuntimeError) {
  EXPECT_DOUBLE_EQ(RealRemainder(125, 60), 5);
  RuntimeError e = Catch([] { RealRemainder(1, 0); });
  EXPECT_EQ(e.message, "不能求余数于零");
}

TEST(Array, RemovingKeepsOrderAndIgnoresPositionsOutOfRange) {
  Array<Text> a;
  a.RemoveAtPosition(0);  // empty: nothing happens
  EXPECT_EQ(a.Count(), 0);
  for (const char* s : {"a", "b", "c"}) a.Append(s);
  a.RemoveAtPosition(3);
  a.RemoveAtPosition(-1);
  EXPECT_EQ(a.Count(), 3);
  a.RemoveAtPosition(1);
  ASSERT_EQ(a.Count(), 2);
  EXPECT_EQ(a.At(1), "a");
  EXPECT_EQ(a.At(2), "c");
  a.Clear();
  EXPECT_TRUE(a.Empty());
}

TEST(Text, NullReadsAsEmpty) {
  EXPECT_EQ(TextOf(nullptr), "");
  EXPECT_EQ(TextOf("歌"), "歌");
}

TEST(FatalPath, MessageNamesCodeAndMessageOnSeparateParagraphs) {
  EXPECT_EQ(FormatRuntimeError({4, "数组成员引用下标必须大于等于1"}),
            "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1");
}

// Under Windows the fatal path is watched from outside (it shows a message box).
#if !defined(_WIN32)
TEST(FatalPathDeathTest, UnhookedErrorEndsWithExitCodeMinusOne) {
  EXPECT_EXIT(
      {
        Array<int> a;
        a.At(0);
      },
      ::testing::ExitedWithCode(255), "错误代码：4");
}
#endif

}  // namespace
}  // namespace tovel
