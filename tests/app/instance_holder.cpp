// Takes the single-instance lock in the folder given (or the lock of that
// name there: a backup writer's), says whether it got it, and keeps it until
// killed or until its input closes.
#include "app/instance_guard.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3)
        return 2;
    const QString name = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("kelvocota");
    InstanceGuard guard(name, QString::fromLocal8Bit(argv[1]));
    std::puts(guard.acquire() ? "held" : "refused");
    std::fflush(stdout);
    char c;
    while (std::fread(&c, 1, 1, stdin) == 1) { }
    return 0;
}
