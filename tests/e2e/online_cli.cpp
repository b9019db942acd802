// cotakelvo-cli as the crash trials run it: the same tool, whose internet
// check finds the machine online whatever network interfaces it has; the
// server check still connects to the server.
#include "cli/cli.h"
#include "support/fake_net.h"

int main(int argc, char **argv)
{
    FakeNet net;
    net.realServerCheck = true;
    return cliMain(argc, argv, &net);
}
