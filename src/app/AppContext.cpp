#include "app/AppContext.h"
