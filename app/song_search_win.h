#pragma once

#include "app/song_search.h"

namespace tovel {

class Runtime;

// The search field's change, and the keys: Ctrl+F in the player and a character typed
// in the list open the search; Enter, Esc, up and down in the field act on it.
void BindSongSearch(Runtime& rt, SongSearch& search);

// At start, once the player is skinned: the field's text reads over the dark skin, and
// when the controls are placed again for a new scale, the search keeps its room.
void PrepareSearchField(Runtime& rt, SongSearch& search);

}  // namespace tovel
