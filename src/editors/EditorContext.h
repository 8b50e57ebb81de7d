#pragma once

// The context is shared with the panes that present editors through ValueEditorOpener.
#include "ui/contracts/EditorContext.h"
