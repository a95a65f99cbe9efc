#include <windows.h>
#include <psapi.h>
#include <gtest/gtest.h>

#include <string>

#include "app/config_file.h"
#include "base/handle.h"
#include "base/text.h"

namespace tovel {
namespace {

// GBK bytes of "[歌曲信息]" and "歌曲列表", as a Chinese system's profile writer stores them.
const std::string kGbkSectionLine = "[\xB8\xE8\xC7\xFA\xD0\xC5\xCF\xA2]\r\n";
const std::string kGbkKey = "\xB8\xE8\xC7\xFA\xC1\xD0\xB1\xED";

class ConfigFileWin : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, tmp);
    dir_ = std::wstring(tmp) + L"tovel-ini-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter_++);
    ::CreateDirectoryW(dir_.c_str(), nullptr);
    path_ = dir_ + L"\\歌曲配置.ini";
  }
  void TearDown() override {
    ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path_.c_str());
    ::DeleteFileW((path_ + L".tovel-new").c_str());
    ::RemoveDirectoryW(dir_.c_str());
  }

  std::string Bytes() const { return ReadFileBytes(path_).value_or("<missing>"); }
  void Put(const std::string& bytes) const { ASSERT_TRUE(ReplaceFileBytes(path_, bytes)); }
  std::wstring ProfileRead(const wchar_t* section, const wchar_t* key) const {
    std::wstring buf(1 << 16, L'\0');
    const DWORD n = ::GetPrivateProfileStringW(section, key, L"<none>", buf.data(), static_cast<DWORD>(buf.size()),
                                               path_.c_str());
    buf.resize(n);
    return buf;
  }

  std::wstring dir_;
  std::wstring path_;
  static inline int counter_ = 0;
};

TEST_F(ConfigFileWin, ChineseListIsWrittenAsGbkExactlyLikeTheProfileWriter) {
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, "D:\\音乐\\月亮.mp3|"));
  EXPECT_EQ(Bytes(), kGbkSectionLine + kGbkKey + "=D:\\\xD2\xF4\xC0\xD6\\\xD4\xC2\xC1\xC1.mp3|\r\n");
  EXPECT_EQ(ReadIniValue(path_, kSongSection, kSongListKey), "D:\\音乐\\月亮.mp3|");
}

TEST_F(ConfigFileWin, NameWithoutGbkFormTurnsTheFileIntoUtf16ThatTheProfileReaderReads) {
  const Text value = "C:\\노래\\노래.mp3|D:\\音乐\\月亮.mp3|";
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, value));
  const std::string bytes = Bytes();
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(ReadIniValue(path_, kSongSection, kSongListKey), value);
  // The platform's own reader agrees, whatever the code page of this process.
  EXPECT_EQ(ProfileRead(L"歌曲信息", L"歌曲列表"), Widen(value));

  // A UTF-16 file stays one: only the line changes.
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, "D:\\a.mp3|"));
  const std::u16string text = u"\xFEFF[歌曲信息]\r\n歌曲列表=D:\\a.mp3|\r\n";
  EXPECT_EQ(Bytes(), std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
}

TEST_F(ConfigFileWin, OtherSectionsAndKeysAreKept) {
  Put("; \xD7\xA2\xCA\xCD\r\n[Window]\r\nLeft=50\r\n\r\n" + kGbkSectionLine + "Extra=1\r\n" + kGbkKey +
      "=old|\r\n");
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, "new|"));
  EXPECT_EQ(Bytes(), "; \xD7\xA2\xCA\xCD\r\n[Window]\r\nLeft=50\r\n\r\n" + kGbkSectionLine + "Extra=1\r\n" + kGbkKey +
                         "=new|\r\n");

  // Kept through the switch to UTF-16 as well.
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, "노래.mp3|"));
  EXPECT_EQ(ReadIniValue(path_, "Window", "Left"), "50");
  EXPECT_EQ(ReadIniValue(path_, kSongSection, "Extra"), "1");
  EXPECT_EQ(ProfileRead(L"Window", L"Left"), L"50");
}

TEST_F(ConfigFileWin, LongListIsReadWhole) {
  Text value;
  for (int i = 0; i < 600; ++i) value += "D:\\音乐\\第" + std::to_string(i) + "首歌.mp3|";
  ASSERT_GT(value.size(), 10239u);
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, value));
  EXPECT_EQ(ReadIniValue(path_, kSongSection, kSongListKey), value);
}

TEST_F(ConfigFileWin, MissingFileOrKeyReadsAsNothingAndOtherEncodingsWithAMarkAreRead) {
  EXPECT_EQ(ReadIniValue(path_, kSongSection, kSongListKey), std::nullopt);
  Put("\xEF\xBB\xBF[歌曲信息]\r\n歌曲列表=D:\\노래.mp3|\r\n");
  EXPECT_EQ(ReadIniValue(path_, kSongSection, kSongListKey), "D:\\노래.mp3|");
  EXPECT_EQ(ReadIniValue(path_, kSongSection, "other"), std::nullopt);
}

// A stray byte that is not GBK (here in a comment, another section and our own line)
// costs nothing: only our line is rewritten, byte for byte everything else stays.
TEST_F(ConfigFileWin, DamagedFileGetsOnlyItsSongLineRewritten) {
  const std::string before = "; \x81\x20 note\n[Keep]\r\nA=\xFF\xFF\r\n\r\n";
  const std::string after = "Other=\x80\r\n[Next]\nB=2";
  Put(before + kGbkSectionLine + "Extra=1\r\n" + kGbkKey + "=D:\\\x81\x20.mp3|\r\n" + after);
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, "D:\\音乐\\a.mp3|"));
  EXPECT_EQ(Bytes(), before + kGbkSectionLine + "Extra=1\r\n" + kGbkKey + "=D:\\\xD2\xF4\xC0\xD6\\a.mp3|\r\n" + after);
  EXPECT_EQ(ReadIniValue(path_, kSongSection, kSongListKey), "D:\\音乐\\a.mp3|");

  // A name without a GBK form would need the whole file in UTF-16, which the damaged
  // bytes have no form in: the file stays whole and the write says it failed.
  const std::string kept = Bytes();
  EXPECT_FALSE(WriteIniValue(path_, kSongSection, kSongListKey, "C:\\노래.mp3|"));
  EXPECT_EQ(Bytes(), kept);

  // Damage in our own line only goes with that line, so then the file can turn UTF-16.
  Put(kGbkSectionLine + kGbkKey + "=D:\\\x81\x20.mp3|\r\n[Keep]\r\nA=1\r\n");
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, "C:\\노래.mp3|"));
  EXPECT_EQ(Bytes().substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(ProfileRead(L"歌曲信息", L"歌曲列表"), L"C:\\노래.mp3|");
  EXPECT_EQ(ProfileRead(L"Keep", L"A"), L"1");

  // Without our section it is added at the end, after the line break the file lacked.
  Put("[Keep]\r\nA=\xFF");
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, "D:\\a.mp3|"));
  EXPECT_EQ(Bytes(), "[Keep]\r\nA=\xFF\r\n" + kGbkSectionLine + kGbkKey + "=D:\\a.mp3|\r\n");
}

std::uint64_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{sizeof(counters)};
  ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakWorkingSetSize;
}

TEST_F(ConfigFileWin, FileOverSixtyFourMebibytesIsNeitherReadNorWritten) {
  const std::string head = kGbkSectionLine + kGbkKey + "=D:\\a.mp3|\r\n";
  Put(head);
  {
    // Sparse where the file system allows: the size is what counts.
    UniqueFile file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = (64LL << 20) + 1;
    ASSERT_TRUE(::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()));
  }
  const std::uint64_t peak = PeakWorkingSet();
  EXPECT_EQ(ReadIniValue(path_, kSongSection, kSongListKey), std::nullopt);
  EXPECT_FALSE(WriteIniValue(path_, kSongSection, kSongListKey, "D:\\b.mp3|"));
  EXPECT_LT(PeakWorkingSet() - peak, 16u << 20) << "the file was read into memory";

  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(::GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.nFileSizeLow, (64u << 20) + 1);
  UniqueFile file(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string start(head.size(), '\0');
  DWORD got = 0;
  ASSERT_TRUE(::ReadFile(file.get(), start.data(), static_cast<DWORD>(start.size()), &got, nullptr));
  EXPECT_EQ(start, head);
}

TEST_F(ConfigFileWin, FailedWriteLeavesTheOldFileWhole) {
  Put(kGbkSectionLine + kGbkKey + "=old|\r\n");
  ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(WriteIniValue(path_, kSongSection, kSongListKey, "new|"));
  ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Bytes(), kGbkSectionLine + kGbkKey + "=old|\r\n");
  EXPECT_EQ(::GetFileAttributesW((path_ + L".tovel-new").c_str()), INVALID_FILE_ATTRIBUTES);

  // The new file cannot be made beside it.
  ASSERT_TRUE(::CreateDirectoryW((path_ + L".tovel-new").c_str(), nullptr));
  EXPECT_FALSE(WriteIniValue(path_, kSongSection, kSongListKey, "new|"));
  ::RemoveDirectoryW((path_ + L".tovel-new").c_str());
  EXPECT_EQ(Bytes(), kGbkSectionLine + kGbkKey + "=old|\r\n");

  EXPECT_EQ(EncodeFileText(""), "");
}

// Bytes that WritePrivateProfileStringW stored with code page 936 (LC_ALL=zh_CN.UTF-8),
// first "Left" in [Window], then the song list.
TEST_F(ConfigFileWin, FileFromTheProfileWriterOfAChineseSystemLoadsAndKeepsItsShape) {
  const std::string written = "[Window]\r\nLeft=50\r\n" + kGbkSectionLine + kGbkKey +
                              "=D:\\\xD2\xF4\xC0\xD6\\\xD4\xC2\xC1\xC1.mp3|E:\\b.mp3|\r\n";
  Put(written);
  EXPECT_EQ(ReadIniValue(path_, kSongSection, kSongListKey), "D:\\音乐\\月亮.mp3|E:\\b.mp3|");
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, "D:\\音乐\\月亮.mp3|E:\\b.mp3|"));
  EXPECT_EQ(Bytes(), written);

  // The same steps from an empty file give the same bytes.
  ::DeleteFileW(path_.c_str());
  Put("[Window]\r\nLeft=50\r\n");
  ASSERT_TRUE(WriteIniValue(path_, kSongSection, kSongListKey, "D:\\音乐\\月亮.mp3|E:\\b.mp3|"));
  EXPECT_EQ(Bytes(), written);
}

}  // namespace
}  // namespace tovel
