#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/list_row_text.h"
#include "app/tag_titles.h"
#include "base/text.h"
#include "tests/e2e/song_list_support.h"
#include "tests/support/id3_bytes.h"

namespace tovel {
namespace {

namespace id3 = testing::id3;
using e2e::ScratchFolder;
using e2e::WriteBytes;

const std::string kAudio = id3::SilentFrames(40);

// The shown title of a file of these bytes, or "<none>".
class TagReaderWin : public ::testing::Test {
 protected:
  std::string TitleOf(const std::wstring& name, const std::string& bytes) {
    const std::wstring path = dir_ / name;
    WriteBytes(path, bytes);
    const auto tags = ReadSongTags(Narrow(path));
    const auto title = tags ? TagTitleText(*tags) : std::nullopt;
    return title.value_or("<none>");
  }
  ScratchFolder dir_{L"tags"};
};

TEST_F(TagReaderWin, EveryTagVersionAndTextEncodingGivesTitleAndArtist) {
  EXPECT_EQ(TitleOf(L"v1.mp3", kAudio + id3::V1("Old Song", "Old Band")), "Old Song - Old Band");
  EXPECT_EQ(TitleOf(L"v22.mp3", id3::Tag(2, 0, id3::Frame22("TT2", id3::kLatin1, "Two Two") +
                                                 id3::Frame22("TP1", id3::kLatin1, "Early")) + kAudio),
            "Two Two - Early");
  EXPECT_EQ(TitleOf(L"v23_utf16.mp3",
                    id3::Tag(3, 0, id3::Frame23("TIT2", id3::kUtf16Bom, id3::Utf16Bom(u"月亮代表我的心")) +
                                       id3::Frame23("TPE1", id3::kUtf16Bom, id3::Utf16Bom(u"邓丽君"))) + kAudio),
            "月亮代表我的心 - 邓丽君");
  EXPECT_EQ(TitleOf(L"v24_utf8.mp3", id3::Tag(4, 0, id3::Frame24("TIT2", id3::kUtf8, "노래 하나") +
                                                      id3::Frame24("TPE1", id3::kUtf8, "가수")) + kAudio),
            "노래 하나 - 가수");
  EXPECT_EQ(TitleOf(L"v24_utf16be.mp3",
                    id3::Tag(4, 0, id3::Frame24("TIT2", id3::kUtf16Be, id3::Utf16Be(u"Ελληνικά"))) + kAudio),
            "Ελληνικά");
  // Latin-1 "é" and "ÿ" become their UTF-8 forms.
  EXPECT_EQ(TitleOf(L"v23_latin1.mp3", id3::Tag(3, 0, id3::Frame23("TIT2", id3::kLatin1, "Caf\xE9 \xFF")) + kAudio),
            "Café ÿ");
  // The tag in front beats the old one at the end, field by field.
  EXPECT_EQ(TitleOf(L"both.mp3", id3::Tag(3, 0, id3::Frame23("TIT2", id3::kLatin1, "New")) + kAudio +
                                     id3::V1("Old", "Band")),
            "New - Band");
}

TEST_F(TagReaderWin, UnsynchronisedTagsAndExtendedHeadersAreRead) {
  // The byte-order mark FF FE and Latin-1 "ÿ" are the bytes unsynchronisation changes.
  const std::string frames = id3::Frame23("TIT2", id3::kUtf16Bom, id3::Utf16Bom(u"Unsync ÿ")) +
                             id3::Frame23("TPE1", id3::kLatin1, "B\xFF\xFF");
  ASSERT_NE(id3::Unsynchronised(frames), frames);
  EXPECT_EQ(TitleOf(L"unsync.mp3", id3::Tag(3, id3::kUnsynchronised, id3::Unsynchronised(frames)) + kAudio),
            "Unsync ÿ - Bÿÿ");
  EXPECT_EQ(TitleOf(L"extended.mp3", id3::Tag(3, id3::kExtendedHeader,
                                              id3::ExtendedHeader23(16) +
                                                  id3::Frame23("TIT2", id3::kLatin1, "Behind Header"))
                                         + kAudio),
            "Behind Header");
}

TEST_F(TagReaderWin, MissingDamagedOrUnreadableTagsGiveNoTitle) {
  EXPECT_EQ(TitleOf(L"none.mp3", kAudio), "<none>");
  EXPECT_EQ(TitleOf(L"empty.mp3", ""), "<none>");
  EXPECT_EQ(TitleOf(L"text.mp3", "not audio at all\n"), "<none>");
  // A frame that claims two gigabytes, in a tag that claims more than the file holds.
  const std::string huge = "TIT2" + id3::BigEndian(0x7FFFFFF0, 4) + std::string(2, '\0') + "\x00Broken";
  EXPECT_EQ(TitleOf(L"huge_frame.mp3", "ID3\x03\x00\x00" + id3::SyncSafe(0x0FFFFFFF) + huge + kAudio), "<none>");
  // Cut off inside its own header, and a blank title.
  EXPECT_EQ(TitleOf(L"cut.mp3", std::string("ID3\x04\x00", 5)), "<none>");
  EXPECT_EQ(TitleOf(L"blank.mp3", id3::Tag(3, 0, id3::Frame23("TIT2", id3::kLatin1, "   ")) + kAudio), "<none>");
  // Random-looking bytes after a tag header.
  std::string noise = "ID3\x03\x00\x00" + id3::SyncSafe(4000);
  for (int i = 0; i < 4000; ++i) noise += static_cast<char>((i * 7919 + 13) & 0xFF);
  EXPECT_EQ(TitleOf(L"noise.mp3", noise + kAudio), "<none>");
  EXPECT_EQ(ReadSongTags(Narrow(dir_ / L"missing.mp3")), std::nullopt);
  EXPECT_EQ(ReadSongTags(Narrow(dir_.path())), std::nullopt);  // a folder
}

TEST_F(TagReaderWin, SongPastMaxPathIsReadAndCanBeDeletedRightAfter) {
  std::wstring deep = dir_.path();
  while (deep.size() < 300) {
    deep += L"\\" + std::wstring(40, L'd');
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  }
  const std::wstring song = deep + L"\\long.mp3";
  WriteBytes(L"\\\\?\\" + song, id3::Tag(4, 0, id3::Frame24("TIT2", id3::kUtf8, "Far Away")) + kAudio);
  const auto tags = ReadSongTags(Narrow(song));
  ASSERT_TRUE(tags);
  EXPECT_EQ(tags->title, "Far Away");
  EXPECT_TRUE(::DeleteFileW((L"\\\\?\\" + song).c_str()));
}

// A list box of 100 rows, scrolled, with a selection.
class ListRowsWin : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    list_ = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | WS_VSCROLL, 0, 0, 300, 200,
                              host_, nullptr, nullptr, nullptr);
    for (int i = 0; i < 100; ++i)
      ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
  }
  void TearDown() override { ::DestroyWindow(host_); }
  std::wstring Row(int i) const {
    wchar_t text[64] = L"";
    ::SendMessageW(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    return text;
  }
  LRESULT Ask(UINT msg) const { return ::SendMessageW(list_, msg, 0, 0); }

  HWND host_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(ListRowsWin, RewrittenRowsKeepTheSelectionCaretAndTopRow) {
  ::SendMessageW(list_, LB_SETCURSEL, 50, 0);
  ::SendMessageW(list_, LB_SETTOPINDEX, 45, 0);
  ASSERT_EQ(Ask(LB_GETTOPINDEX), 45);
  std::vector<RowText> rows;
  for (int i = 40; i < 60; ++i) rows.push_back(RowText{i, "标题 " + std::to_string(i)});
  rows.push_back(RowText{100, "past the end"});
  rows.push_back(RowText{-1, "before the start"});
  RewriteListRows(list_, rows);
  EXPECT_EQ(Ask(LB_GETCOUNT), 100);
  EXPECT_EQ(Row(39), L"39");
  EXPECT_EQ(Row(50), L"标题 50");
  EXPECT_EQ(Row(60), L"60");
  EXPECT_EQ(Ask(LB_GETCURSEL), 50);
  EXPECT_EQ(Ask(LB_GETCARETINDEX), 50);
  EXPECT_EQ(Ask(LB_GETTOPINDEX), 45);

  // No selection stays no selection, wherever the caret is.
  ::SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  RewriteListRows(list_, {RowText{0, "first"}});
  EXPECT_EQ(Ask(LB_GETCURSEL), LB_ERR);
  EXPECT_EQ(Row(0), L"first");
}

}  // namespace
}  // namespace tovel
