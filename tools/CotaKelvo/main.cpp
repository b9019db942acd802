#include "app/widgets/program.h"

int main(int argc, char **argv)
{
    return runCotaKelvo(argc, argv);
}
