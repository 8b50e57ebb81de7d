#pragma once

// The photo well is shared with the merge sheet and lives with the shared widgets.
#include "ui/widgets/ImageViewDragAndDrop.h"
