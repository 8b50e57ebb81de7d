#pragma once

// The one photo fitter serves the detail views, the merge sheet, the custom items and the record.
#include "platform/PhotoFitter.h"
