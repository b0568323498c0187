#include "game/GameWindows.h"
