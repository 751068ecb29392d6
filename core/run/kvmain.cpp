// Process entry of every program: the exit value is the final status code
// (the system keeps its low eight bits, so a completed translation exits 1).
#include <cstdlib>

#include "core/run/xlator.hpp"

int main() { std::exit(static_cast<int>(jmain())); }
