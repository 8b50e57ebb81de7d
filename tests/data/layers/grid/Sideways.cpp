#include "detail/Sideways.h"
