#pragma once

namespace tovel {

// The program is one exe that people run from wherever they saved it, often a downloads
// folder: a DLL saved beside it under a system library's name must never load. Call this
// first in the entry point, before any library is loaded at first use. DLLs loaded at first
// use (delay imports) are loaded by their full path in the system folder.
void RestrictLibrarySearch();

}  // namespace tovel
