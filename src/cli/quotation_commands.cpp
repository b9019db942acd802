#include "cli/cli.h"

void addQuotationCommands(QList<CliCommand> &)
{
}
