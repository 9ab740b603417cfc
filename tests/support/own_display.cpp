// Linked into every test program that opens real windows (quorlix_gtest's DISPLAY option): before any case runs,
// it ends the program with a failure unless DISPLAY names the virtual display tests/support/with-display started
// for it, so such a program never draws on someone's real screen or shares a display with another test.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class OwnDisplay : public ::testing::Environment {
public:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        const char* own = std::getenv("QUORLIX_DISPLAY");
        if (display && own && std::strcmp(display, own) == 0) return;
        // NOTE: a failed assertion here would only skip the cases, and the program would still pass.
        std::fprintf(stderr, "FAIL: this program opens windows: run it under tests/support/with-display\n");
        std::exit(1);
    }
};

const ::testing::Environment* const registered = ::testing::AddGlobalTestEnvironment(new OwnDisplay);

}  // namespace
