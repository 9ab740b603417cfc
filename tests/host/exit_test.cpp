// The ways the process ends: the empty error (status 0), a runtime error, an escaped script exception and the
// fatal signals (status 255), each with its line on standard output and the player's line on standard error.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <new>

#include "host/errors.h"
#include "host/desktop/glfwgame.h"

namespace {

// Runs statement with standard output sent to standard error, where death tests can read it.
#define WITH_STDOUT_ON_STDERR(statement) \
    do {                                 \
        dup2(2, 1);                      \
        statement;                       \
    } while (0)

TEST(ExitPath, EmptyErrorEndsWithStatusZero) {
    EXPECT_EXIT(kpError(String()), ::testing::ExitedWithCode(0), "");
}

TEST(ExitPath, RuntimeErrorPrintsItsLineAndEndsWith255) {
    EXPECT_EXIT(WITH_STDOUT_ON_STDERR(kpError(String("App has already been created"))),
                ::testing::ExitedWithCode(255), "Zindle Runtime Error : App has already been created");
}

TEST(ExitPath, FatalSignalsNameTheirCause) {
    kpInstallSignalHandlers();
    EXPECT_EXIT(WITH_STDOUT_ON_STDERR(std::raise(SIGSEGV)), ::testing::ExitedWithCode(255),
                "Zindle Runtime Error : Memory access violation");
    EXPECT_EXIT(WITH_STDOUT_ON_STDERR(std::raise(SIGFPE)), ::testing::ExitedWithCode(255),
                "Zindle Runtime Error : Floating point exception");
    EXPECT_EXIT(WITH_STDOUT_ON_STDERR(std::raise(SIGILL)), ::testing::ExitedWithCode(255),
                "Zindle Runtime Error : Illegal instruction");
    EXPECT_EXIT(WITH_STDOUT_ON_STDERR(sighandler(SIGUSR1)), ::testing::ExitedWithCode(255),
                "Zindle Runtime Error : Unknown signal");
}

struct ThrowingDelegate : KpGameDelegate {
    void UpdateGame() override { throw ThrowableObject(); }
    void RenderGame() override { throw std::bad_alloc(); }
};

TEST(ExitPath, ExceptionEscapingACallbackEndsTheProcess) {
    KpGame game;
    ThrowingDelegate delegate;
    game.SetDelegate(&delegate);
    game.StartGame();
    EXPECT_EXIT(WITH_STDOUT_ON_STDERR(game.UpdateGame()), ::testing::ExitedWithCode(255),
                "Zindle Runtime Error : Uncaught Zindle Exception");
    EXPECT_EXIT(WITH_STDOUT_ON_STDERR(game.RenderGame()), ::testing::ExitedWithCode(255),
                "Zindle Runtime Error : std::bad_alloc");
}

// Beside the runtime error line on standard output, the player reads on standard error what stopped the game and
// what became of their progress, for errors, fatal signals and escaped exceptions alike.
TEST(ExitPath, EveryFatalEndingTellsThePlayerWhatBecameOfTheirProgress) {
    const char* told = "Quorlix: the game stopped because of an internal error \\(%s\\)\\. Progress saved before "
                       "this \\(at the end of each puzzle, on closing the options and on leaving the window\\) is "
                       "kept; a puzzle in play is lost\\.";
    char pattern[512];
    std::snprintf(pattern, sizeof pattern, told, "Matrix stack underflow");
    EXPECT_EXIT(kpError(String("Matrix stack underflow")), ::testing::ExitedWithCode(255), pattern);
    std::snprintf(pattern, sizeof pattern, told, "Memory access violation");
    kpInstallSignalHandlers();
    EXPECT_EXIT(std::raise(SIGSEGV), ::testing::ExitedWithCode(255), pattern);
    KpGame game;
    ThrowingDelegate delegate;
    game.SetDelegate(&delegate);
    game.StartGame();
    std::snprintf(pattern, sizeof pattern, told, "Uncaught Zindle Exception");
    EXPECT_EXIT(game.UpdateGame(), ::testing::ExitedWithCode(255), pattern);
}

TEST(ExitPath, PrintEncodesEachCodeUnitAsUtf8) {
    const char16_t units[] = {'o', 'k', 0xE9, 0x20AC, 0};
    ::testing::internal::CaptureStdout();
    kpPrint(String(units));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ok\xC3\xA9\xE2\x82\xAC\n");
}

}  // namespace
