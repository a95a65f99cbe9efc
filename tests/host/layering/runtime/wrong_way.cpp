// A runtime file that reaches into the application: the check must refuse it.
#include "base/value.h"
#include "app/song_list.h"
