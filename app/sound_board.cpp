#include "app/sound_board.h"

namespace tovel {

void BindSoundBoardHandlers(Runtime&) {}

}  // namespace tovel
