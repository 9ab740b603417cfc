// The executable (or the page's program): runs the start-up sequence and returns 0.
#include "backend.h"

int main(int argc, char** argv) {
    KpZindleGame::Main(argc, argv);
    return 0;
}
