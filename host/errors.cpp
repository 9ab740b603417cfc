// Printing and the fatal-error path: every ending of the process other than the window closing goes here.
#include "host/errors.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
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
    std::_Exit(255);
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
