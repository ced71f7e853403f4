// The benchmark program: the Google Benchmark table, then each operation's ratio to its floor
// and the memory figures.
#include "BenchSupport.h"

namespace bench {
void allocationFigures();
void heapFigure();
}  // namespace bench

int main(int argc, char** argv) {
    bench::heapFigure();
    bench::allocationFigures();
    return bench::runAll(argc, argv);
}
