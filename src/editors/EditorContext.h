#pragma once

// The context lives with the pane contracts, so that panes can present editors.
#include "ui/contracts/EditorContext.h"
