#include "app/Shell.h"

int main(int argc, char** argv) {
    return RunFromCommandLine(argc, argv);
}
