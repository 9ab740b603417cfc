// The page's program: runs the start-up sequence, which hands the frame loop to the browser and returns.
#include "host/web/webgame.h"

int main(int argc, char** argv) {
    KpZindleGame::Main(argc, argv);
    return 0;
}
