// The error and exit path of the whole program, and printing to standard output.
// Depends on the runtime (String). Diagnostics go to standard output as UTF-8 lines; an empty error message is
// the normal way to quit (status 0), any other ends the process with status -1 (255) after printing
// "Zindle Runtime Error : " and the message; a line on standard error then tells the player what happened.
#pragma once

#include "runtime/string.h"

// Prints text as one UTF-8 line on standard output and flushes.
void kpPrint(const String& text);
void kpDebugLog(const String& text);
// Ends the process: status 0 for the empty text, otherwise the runtime error line and status -1.
[[noreturn]] void kpError(const String& text);
// Prints the runtime error line and the (empty) script stack trace, then ends with status -1.
// NOTE: this build carries no debugger, so nothing waits for a command on standard input.
[[noreturn]] void dbg_error(const char* message);
// Tells the player on standard error that the game stopped on an error, and what became of their progress.
void kpTellPlayerStopped(const char* message);
// The handler for SIGSEGV, SIGILL and SIGFPE.
void sighandler(int signal);
// Installs sighandler for SIGSEGV, SIGILL and SIGFPE, in that order.
void kpInstallSignalHandlers();
