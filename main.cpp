// The executable: runs the start-up sequence and returns 0.
#include "host/glfwgame.h"

int main(int argc, char** argv) {
    KpZindleGame::Main(argc, argv);
    return 0;
}
