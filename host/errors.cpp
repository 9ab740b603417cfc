// Printing and the fatal-error path: every ending of the process other than the window closing goes here.
#include "host/errors.h"

#include <unistd.h>  // write

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>  // strlen
#include <string>

void kpPrint(const String& text) {
    std::string line = text.ToUtf8();
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void kpDebugLog(const String& text) { kpPrint(text); }

void kpError(const String& text) {
    if (text.Empty()) {
        std::fflush(stdout);
        std::exit(0);
    }
    std::string message = text.ToBytes();
    dbg_error(message.c_str());
}

void dbg_error(const char* message) {
    // The runtime error line, then the script stack trace: this program carries no source positions, so the
    // trace is one empty line.
    std::fputs("Zindle Runtime Error : ", stdout);
    std::fputs(message, stdout);
    std::fputs("\n\n", stdout);
    std::fflush(stdout);
    kpTellPlayerStopped(message);
    std::_Exit(255);
}

void kpTellPlayerStopped(const char* message) {
    // NOTE: plain writes, nothing allocated: this also runs inside the signal handler.
    auto put = [](const char* text) {
        if (write(STDERR_FILENO, text, std::strlen(text)) < 0) return;
    };
    put("Quorlix: the game stopped because of an internal error (");
    put(message);
    put("). Progress saved before this (at the end of each puzzle, on closing the options and on leaving the "
        "window) is kept; a puzzle in play is lost.\n");
}

void sighandler(int signal) {
    switch (signal) {
        case SIGFPE: dbg_error("Floating point exception");
        case SIGSEGV: dbg_error("Memory access violation");
        case SIGILL: dbg_error("Illegal instruction");
        default: dbg_error("Unknown signal");
    }
}

void kpInstallSignalHandlers() {
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
}
