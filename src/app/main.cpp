#include "app/CommandLine.h"
#include "app/Program.h"

int main(int argc, char *argv[])
{
    // --check-pad, --export-log, --help and --version run without a window or a browser.
    if (const auto exitCode = tarvelo::CommandLine::run(argc, argv))
        return *exitCode;
    return tarvelo::runProgram(argc, argv);
}
