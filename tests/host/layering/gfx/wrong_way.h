// The graphics layer may not know the skin.
#include "skin/engine.h"
