// kostrel-sim's entry point: the standard streams, unsynchronised for speed.
#include <iostream>

#include "tools/sim/kostrel_sim.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return runKostrelSim(argc, argv, std::cin, std::cout, std::cerr);
}
