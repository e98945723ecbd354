#include "app/Program.h"

int main(int argc, char *argv[])
{
    return tarvelo::runProgram(argc, argv);
}
