#include <gtest/gtest.h>

#include <string>

#include "base/file_path.h"

namespace tovel {
namespace {

TEST(FileSystemPath, FullPathsOfAnyLengthGoInTheVerbatimFormAndOthersStayPlain) {
  EXPECT_EQ(FileSystemPath("D:\\音乐\\album.\\a.mp3"), L"\\\\?\\D:\\音乐\\album.\\a.mp3");
  EXPECT_EQ(FileSystemPath("d:/music/a.mp3"), L"\\\\?\\d:\\music\\a.mp3");
  EXPECT_EQ(FileSystemPath("D:\\music\\"), L"\\\\?\\D:\\music\\");  // a folder's prefix
  EXPECT_EQ(FileSystemPath("\\\\nas\\songs\\a.mp3"), L"\\\\?\\UNC\\nas\\songs\\a.mp3");
  const std::string deep = "C:\\" + std::string(300, 'd') + "\\a.mp3";
  EXPECT_EQ(FileSystemPath(deep), L"\\\\?\\C:\\" + std::wstring(300, L'd') + L"\\a.mp3");
  EXPECT_EQ(FileSystemPath("\\\\?\\C:\\a.mp3"), L"\\\\?\\C:\\a.mp3");  // already verbatim

  // Only the plain form resolves these; the verbatim one would look for them literally.
  for (const char* plain : {"a.mp3", "music\\a.mp3", "\\music\\a.mp3", "C:a.mp3", "D:\\music\\..\\a.mp3",
                            "D:\\music\\.\\a.mp3", "D:\\music\\\\a.mp3", "\\\\.\\COM1"})
    EXPECT_EQ(FileSystemPath(plain), std::wstring(plain, plain + std::char_traits<char>::length(plain))) << plain;
}

}  // namespace
}  // namespace tovel
