#include "platform/widgets/TestMode.h"

#include "platform/widgets/Alert.h"
#include "platform/widgets/FilePanel.h"
#include "platform/widgets/PrintPanel.h"
#include "platform/widgets/Sheet.h"
#include "platform/widgets/Workspace.h"

namespace TestMode {

namespace {
bool s_enabled = false;
} // namespace

bool isEnabled()
{
    return s_enabled;
}

void setEnabled(bool enabled)
{
    s_enabled = enabled;
}

void reset()
{
    Alert::resetTestState();
    Sheet::resetTestState();
    FilePanel::resetTestState();
    PrintPanel::resetTestState();
    Workspace::setOpener({});
}

} // namespace TestMode
