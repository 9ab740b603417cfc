// libFuzzer target for the progress record: any bytes as the state file, read through the host's state store
// (whole-file reading and text decoding) into the application object's loader, exactly as the game starts.
// Checks that whatever the file held, the settings the loader always repairs come out repaired.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/app/app.h"
#include "game/myapp.h"
#include "game/search.h"
#include "runtime/object.h"
#include "tests/fuzz/memory_host.h"

namespace {
MemoryHost host;
c_MyApp* app = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The loader prints what it loaded; the fuzzer's own report is on standard error.
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    kp_app_Init(&host);
    kp_Search_Init();
    app = new c_MyApp();
    app->Retain();  // one application object for the whole run, as in the game
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    host.Serve(data, size);
    // The settings as the game holds them before its first load. NOTE: the loader only writes the badges and
    // result lists, so what an earlier input left there cannot steer it (clearing them would cost more than the
    // load itself).
    app->m_settings.Fill(0);
    app->m_settings[5] = 1;
    app->p_Load();
    const Array<int>& s = app->m_settings;
    if (s[10] < 64 || s[11] < 64 || s[12] < 8 || s[14] != 1) std::abort();
    gc_collect();
    return 0;
}
