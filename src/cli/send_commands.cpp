#include "cli/cli.h"

void addSubmissionCommands(QList<CliCommand> &)
{
}
