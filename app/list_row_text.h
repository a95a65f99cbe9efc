#pragma once

#include <windows.h>

#include <vector>

#include "app/song_titles.h"

namespace tovel {

// Writes rows of a list box again in place, drawn once at the end; the selection, the
// caret and the top row stay where they were. Rows past the end are left out.
void RewriteListRows(HWND list, const std::vector<RowText>& rows);

}  // namespace tovel
