#include <gtest/gtest.h>

#include "base/text.h"

namespace tovel {
namespace {

TEST(Utf16, RoundTripsNamesInAnyScript) {
  for (const char* s : {"", "a.mp3", "D:\\音乐\\歌.mp3", "노래.mp3", "曲名🎵.mp3", "Ωmega"}) {
    EXPECT_EQ(Narrow(Widen(s)), s) << s;
  }
  EXPECT_EQ(Widen("노래"), L"\uB178\uB798");
  EXPECT_EQ(Widen("🎵").size(), 2u);  // a surrogate pair
  EXPECT_EQ(Widen("🎵")[0], 0xD83C);
}

TEST(Utf16, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Widen("a\xFF" "b"), L"a\uFFFDb");
  EXPECT_EQ(Widen("\xE6\xAD"), L"\uFFFD\uFFFD");     // truncated sequence
  EXPECT_EQ(Widen("\xC0\xAF"), L"\uFFFD\uFFFD");     // overlong
  EXPECT_EQ(Widen("\xED\xA0\x80").size(), 3u);       // encoded surrogate
  EXPECT_EQ(Narrow(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(CharacterCounts, NeverSplitACharacter) {
  EXPECT_EQ(CharCount("a.mp3"), 5u);
  EXPECT_EQ(CharCount("歌曲.mp3"), 6u);
  EXPECT_EQ(DropLastChars("song.mp3", 4), "song");
  EXPECT_EQ(DropLastChars("歌曲.mp3", 4), "歌曲");
  EXPECT_EQ(DropLastChars("노래🎵", 1), "노래");
  EXPECT_EQ(DropLastChars(".mp3", 4), "");
  EXPECT_EQ(DropLastChars("ab", 4), "");
  EXPECT_EQ(LastChars("xmp3", 3), "mp3");
  EXPECT_EQ(LastChars("歌mp3", 3), "mp3");
  EXPECT_EQ(LastChars("mp", 3), "mp");
  EXPECT_EQ(LastChars("曲.歌曲", 3), ".歌曲");
}

}  // namespace
}  // namespace tovel
