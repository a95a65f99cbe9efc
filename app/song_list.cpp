#include "app/song_list.h"

namespace tovel {

void BindSongListHandlers(Runtime&, PlayerState&) {}
void LoadStoredSongList(Runtime&, PlayerState&) {}

}  // namespace tovel
