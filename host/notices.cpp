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
}  // namespace

bool kpTellPlayer(const std::string& kind, const std::string& text) {
    if (!Told().insert(kind).second) return false;
    const std::string line = "Quorlix: " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return true;
}

bool kpToldPlayer(const std::string& kind) { return Told().count(kind) != 0; }

void kpSettleNotice(const std::string& kind) { Told().erase(kind); }

void kpForgetNotices() { Told().clear(); }

std::string kpReason(int error) {
    char buffer[256];
    // The GNU form answers a pointer that may or may not be the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}
