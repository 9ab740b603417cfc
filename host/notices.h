// Notices to the player: one plain line on standard error for each problem the game runs on despite (progress
// that cannot be saved, a data file that is missing or damaged, no sound device), saying what happened and
// what it means for the player's progress.
// Depends on the C++ library only. Standard output belongs to the record and error lines other programs and
// tests read; these lines are for the person who started the game, so they go to standard error, each starting
// "Quorlix: ". A problem is told once per kind (the kind names the file or the operation), however often it
// recurs, so a save that fails on every suspend or art reloaded after every resize does not flood the terminal.
#pragma once

#include <string>

// Prints "Quorlix: " and text as one line on standard error, unless a notice of this kind was printed already
// and has not been settled since; answers whether it printed.
bool kpTellPlayer(const std::string& kind, const std::string& text);
// Whether a notice of this kind stands (printed and not settled).
bool kpToldPlayer(const std::string& kind);
// The problem of this kind is over: the next one of the kind is told again.
void kpSettleNotice(const std::string& kind);
// Forgets every notice (a test starting afresh).
void kpForgetNotices();
// Someone besides standard error to whom every notice is shown as it is told (text "Quorlix: ..." without the
// line end) and settled (empty text): a browser's page, where standard error is out of the player's sight.
using KpNoticeListener = void (*)(const std::string& kind, const std::string& text);
void kpListenToNotices(KpNoticeListener listener);
// The text of the C library's error number, as the system words it ("No space left on device").
std::string kpReason(int error);
