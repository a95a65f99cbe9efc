#include "app/small_commands.h"

namespace tovel {

void BindSmallCommands(Runtime&, PlayerState&) {}

}  // namespace tovel
