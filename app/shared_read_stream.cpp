#include "app/shared_read_stream.h"

#include <climits>

namespace tovel {

SharedReadStream::SharedReadStream(const std::wstring& path)
    : path_(path),
      file_(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {}

TagLib::ByteVector SharedReadStream::readBlock(unsigned long length) {
  if (!file_ || length == 0) return {};
  // A damaged header may ask for far more than the file holds: never more than is left.
  const long left = this->length() - tell();
  if (left <= 0) return {};
  if (length > static_cast<unsigned long>(left)) length = static_cast<unsigned long>(left);
  const long start = tell();
  TagLib::ByteVector block(static_cast<unsigned int>(length), 0);
  DWORD read = 0;
  if (!::ReadFile(file_.get(), block.data(), static_cast<DWORD>(length), &read, nullptr)) return {};
  block.resize(read);
  if (override_ && override_->offset >= start && override_->offset - start < static_cast<long>(read))
    block[static_cast<unsigned int>(override_->offset - start)] = override_->value;
  return block;
}

void SharedReadStream::seek(long offset, Position from) {
  if (!file_) return;
  const DWORD method = from == Beginning ? FILE_BEGIN : from == Current ? FILE_CURRENT : FILE_END;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  ::SetFilePointerEx(file_.get(), distance, nullptr, method);
}

long SharedReadStream::tell() const {
  if (!file_) return 0;
  LARGE_INTEGER zero{}, position{};
  if (!::SetFilePointerEx(file_.get(), zero, &position, FILE_CURRENT)) return 0;
  return position.QuadPart > LONG_MAX ? LONG_MAX : static_cast<long>(position.QuadPart);
}

// TagLib counts in long, 32 bits here: a larger file reads as its first 2 GB.
long SharedReadStream::length() {
  if (!file_) return 0;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file_.get(), &size)) return 0;
  return size.QuadPart > LONG_MAX ? LONG_MAX : static_cast<long>(size.QuadPart);
}

}  // namespace tovel
