#include "app/tag_titles.h"

#include <taglib/id3v2framefactory.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <new>

#include "app/shared_read_stream.h"
#include "base/file_path.h"

namespace tovel {
namespace {

// TagLib 1.13 takes the size of an extended header as ID3v2.4 writes it, its own four
// bytes counted. ID3v2.3 leaves them out (6 or 10), so TagLib would stop four bytes short,
// in the padding-size field, and find no frames; reading the size four larger puts it right.
void MendV23ExtendedHeaderSize(SharedReadStream& stream) {
  const TagLib::ByteVector head = stream.readBlock(14);
  stream.seek(0, TagLib::IOStream::Beginning);
  if (head.size() < 14 || !head.startsWith("ID3") || head[3] != 3 || !(head[5] & 0x40)) return;
  if (head[10] != 0 || head[11] != 0 || head[12] != 0 || (head[13] != 6 && head[13] != 10)) return;
  stream.OverrideByte(13, static_cast<char>(head[13] + 4));
}

}  // namespace

std::optional<SongTags> ReadSongTags(std::string_view path) {
  // TagLib reports failure by results; memory running out is the one throw to keep inside.
  try {
    SharedReadStream stream(FileSystemPath(path));
    if (!stream.isOpen()) return std::nullopt;
    MendV23ExtendedHeaderSize(stream);
    // No audio properties: only the tags are wanted, and reading them is all the time spent.
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid()) return std::nullopt;
    const TagLib::Tag* tag = file.tag();
    if (!tag || tag->isEmpty()) return std::nullopt;
    return SongTags{tag->title().to8Bit(true), tag->artist().to8Bit(true)};
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace tovel
