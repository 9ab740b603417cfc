// Notices to the player on standard error, each kind told once until it is settled.
#include "host/notices.h"

#include <cstdio>
#include <cstring>  // strerror_r
#include <set>

namespace {
// NOTE: allocated on first use and never freed, so a notice from an exit handler still finds it.
std::set<std::string>& Told() {
    static auto* told = new std::set<std::string>();
    return *told;
}

KpNoticeListener listener = nullptr;

// strerror_r's GNU form answers a pointer, which may or may not be the buffer; the XSI form (other C libraries)
// fills the buffer and answers 0.
[[maybe_unused]] const char* ReasonText(const char* result, const char*) { return result; }
[[maybe_unused]] const char* ReasonText(int result, const char* buffer) { return result == 0 ? buffer : "Unknown error"; }
}  // namespace

bool kpTellPlayer(const std::string& kind, const std::string& text) {
    if (!Told().insert(kind).second) return false;
    const std::string line = "Quorlix: " + text;
    std::fwrite((line + "\n").data(), 1, line.size() + 1, stderr);
    std::fflush(stderr);
    if (listener) listener(kind, line);
    return true;
}

bool kpToldPlayer(const std::string& kind) { return Told().count(kind) != 0; }

void kpSettleNotice(const std::string& kind) {
    if (Told().erase(kind) != 0 && listener) listener(kind, std::string());
}

void kpListenToNotices(KpNoticeListener newListener) { listener = newListener; }

void kpForgetNotices() { Told().clear(); }

std::string kpReason(int error) {
    char buffer[256];
    return ReasonText(strerror_r(error, buffer, sizeof buffer), buffer);
}
