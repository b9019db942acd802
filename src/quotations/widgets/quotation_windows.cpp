#include "app/widgets/window_registry.h"

void registerQuotationWindows(WindowRegistry &)
{
}
