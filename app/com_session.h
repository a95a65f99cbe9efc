#pragma once

namespace tovel {

// COM on the user-interface thread, started by the first thing that needs it: the folder
// browser and the shell do. Most runs use neither, and starting COM with the libraries it
// loads before the first paint would slow every start for them.
// True when COM is ready on this thread.
bool EnsureCom();

// Ends COM if it was started. The program calls it last, after every media device closed.
void EndCom();

}  // namespace tovel
