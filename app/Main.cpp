#include "app/Shell.h"

int main() {
    return RunWalkthrough();
}
