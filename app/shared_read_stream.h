#pragma once

#include <windows.h>

#include <taglib/tiostream.h>

#include <optional>
#include <string>

#include "base/handle.h"

namespace tovel {

// A song file for TagLib, opened for reading only and shared for reading, writing and
// deleting: reading a tag never stops the player, "删除文件" or another program.
class SharedReadStream : public TagLib::IOStream {
 public:
  explicit SharedReadStream(const std::wstring& path);

  TagLib::FileName name() const override { return path_.c_str(); }
  TagLib::ByteVector readBlock(unsigned long length) override;
  void writeBlock(const TagLib::ByteVector&) override {}
  void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
  void removeBlock(unsigned long, unsigned long) override {}
  bool readOnly() const override { return true; }
  bool isOpen() const override { return static_cast<bool>(file_); }
  void seek(long offset, Position from) override;
  long tell() const override;
  long length() override;
  void truncate(long) override {}

  // Reads see `value` at `offset` in place of the file's byte there; the file is not changed.
  void OverrideByte(long offset, char value) { override_ = ByteOverride{offset, value}; }

 private:
  struct ByteOverride {
    long offset;
    char value;
  };

  std::wstring path_;
  UniqueFile file_;
  std::optional<ByteOverride> override_;
};

}  // namespace tovel
