#include "app/widgets/window_registry.h"

void registerSubmissionWindows(WindowRegistry &)
{
}
