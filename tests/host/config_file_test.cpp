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

std::string Set(std::string_view file, std::string_view value) {
  return SetIniValueIn(file, kSongSection, kSongListKey, value);
}

TEST(SetIniValueIn, NewFileIsWhatTheProfileWriterWrites) {
  EXPECT_EQ(Set("", "D:\\m\\a.mp3|"), "[歌曲信息]\r\n歌曲列表=D:\\m\\a.mp3|\r\n");
  EXPECT_EQ(Set("[歌曲信息]\r\n歌曲列表=D:\\m\\a.mp3|\r\n", ""), "[歌曲信息]\r\n歌曲列表=\r\n");
}

TEST(SetIniValueIn, OnlyTheKeysLineChangesAndEveryOtherByteStays) {
  // Line breaks of either kind, bytes of no encoding at all, a second section of the
  // same name and a last line without a break all come through as they were.
  const std::string before = "; keep \x81\x20\n[Window]\r\nLeft=50\n\n[ 歌曲信息 ]\r\nBefore=\xFF\r\n";
  const std::string after = "\r\nAfter=2\n[歌曲信息]\n歌曲列表=second is never read\n[Next]\nB=\x80";
  EXPECT_EQ(Set(before + "  歌曲列表 = old|  " + after, "new|"), before + "歌曲列表=new|" + after);
  EXPECT_EQ(Set("[歌曲信息]\r\nX=1\r\n歌曲列表=old", "new|"), "[歌曲信息]\r\nX=1\r\n歌曲列表=new|");

  // The key is matched as the profile reader matches it, and keeps its spelling.
  const std::u16string wide = u"[SONGS]\r\nList=old\r\n";
  EXPECT_EQ(SetIniValueIn(wide, u"songs", u"LIST", u"new|"), u"[SONGS]\r\nList=new|\r\n");
}

TEST(SetIniValueIn, MissingKeyJoinsItsSectionAndMissingSectionTheEnd) {
  // At the end of the section, before the blank line that parts it from the next.
  EXPECT_EQ(Set("[歌曲信息]\r\nA=1\r\n\r\n[Next]\nB=2\n", "x|"),
            "[歌曲信息]\r\nA=1\r\n歌曲列表=x|\r\n\r\n[Next]\nB=2\n");
  EXPECT_EQ(Set("[歌曲信息]", "x|"), "[歌曲信息]\r\n歌曲列表=x|\r\n");
  EXPECT_EQ(Set("[Next]\r\nB=2\r\n", "y|"), "[Next]\r\nB=2\r\n[歌曲信息]\r\n歌曲列表=y|\r\n");
  EXPECT_EQ(Set("[Next]\nB=\xFE", "y|"), "[Next]\nB=\xFE\r\n[歌曲信息]\r\n歌曲列表=y|\r\n");
}

TEST(SetIniValueIn, LongValuesSurviveWhole) {
  Text value;
  for (int i = 0; i < 500; ++i) value += "D:\\音乐\\第" + std::to_string(i) + "首歌.mp3|";
  ASSERT_GT(value.size(), 10239u);
  EXPECT_EQ(IniDocument::Parse(Set("", value)).Value(kSongSection, kSongListKey), value);
}

}  // namespace
}  // namespace tovel
