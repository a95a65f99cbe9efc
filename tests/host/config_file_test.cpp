#include <gtest/gtest.h>

#include "app/config_file.h"

namespace tovel {
namespace {

TEST(IniDocument, ReadsValuesTheWayTheProfileReaderDoes) {
  const IniDocument doc = IniDocument::Parse(
      "; a comment\r\n"
      "[Other]\r\n"
      "歌曲列表=not this one\r\n"
      "  [ 歌曲信息 ]  \r\n"
      "Volume = 80 \r\n"
      "  歌曲列表 =  D:\\a=b.mp3|D:\\c.mp3|  \r\n"
      "Quoted=\"x y\"\r\n"
      "[歌曲信息]\r\n"
      "歌曲列表=second section is never read\r\n");
  EXPECT_EQ(doc.Value("歌曲信息", "歌曲列表"), "D:\\a=b.mp3|D:\\c.mp3|");
  EXPECT_EQ(doc.Value("歌曲信息", "volume"), "80");
  EXPECT_EQ(doc.Value("other", "歌曲列表"), "not this one");
  EXPECT_EQ(doc.Value("歌曲信息", "Quoted"), "x y");
  EXPECT_EQ(doc.Value("歌曲信息", "missing"), std::nullopt);
  EXPECT_EQ(doc.Value("missing", "歌曲列表"), std::nullopt);
  EXPECT_EQ(IniDocument::Parse("").Value("歌曲信息", "歌曲列表"), std::nullopt);
}

TEST(IniDocument, NewFileIsWhatTheProfileWriterWrites) {
  IniDocument doc = IniDocument::Parse("");
  doc.SetValue(kSongSection, kSongListKey, "D:\\m\\a.mp3|");
  EXPECT_EQ(doc.Serialize(), "[歌曲信息]\r\n歌曲列表=D:\\m\\a.mp3|\r\n");

  doc.SetValue(kSongSection, kSongListKey, "");
  EXPECT_EQ(doc.Serialize(), "[歌曲信息]\r\n歌曲列表=\r\n");
}

TEST(IniDocument, WritingOneValueKeepsEveryOtherLine) {
  IniDocument doc = IniDocument::Parse(
      "; keep me\n"
      "[Window]\n"
      "Left=50\n"
      "\n"
      "[歌曲信息]\n"
      "Before=1\n"
      "歌曲列表=old|\n"
      "After=2\n");
  doc.SetValue(kSongSection, kSongListKey, "new|");
  EXPECT_EQ(doc.Serialize(),
            "; keep me\r\n[Window]\r\nLeft=50\r\n\r\n[歌曲信息]\r\nBefore=1\r\n歌曲列表=new|\r\nAfter=2\r\n");

  // A missing key joins the end of its section, before the blank line and the next section.
  IniDocument other = IniDocument::Parse("[歌曲信息]\r\nA=1\r\n\r\n[Next]\r\nB=2\r\n");
  other.SetValue(kSongSection, kSongListKey, "x|");
  EXPECT_EQ(other.Serialize(), "[歌曲信息]\r\nA=1\r\n歌曲列表=x|\r\n\r\n[Next]\r\nB=2\r\n");

  // A missing section is added at the end.
  IniDocument noSection = IniDocument::Parse("[Next]\r\nB=2\r\n");
  noSection.SetValue(kSongSection, kSongListKey, "y|");
  EXPECT_EQ(noSection.Serialize(), "[Next]\r\nB=2\r\n[歌曲信息]\r\n歌曲列表=y|\r\n");
}

TEST(IniDocument, LongValuesSurviveWhole) {
  Text value;
  for (int i = 0; i < 500; ++i) value += "D:\\音乐\\第" + std::to_string(i) + "首歌.mp3|";
  ASSERT_GT(value.size(), 10239u);
  IniDocument doc = IniDocument::Parse("");
  doc.SetValue(kSongSection, kSongListKey, value);
  EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Value(kSongSection, kSongListKey), value);
}

}  // namespace
}  // namespace tovel
