// Saving and loading the whole progress record (10892 fields) through the state file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "framework/app/app.h"
#include "game/myapp.h"
#include "game/search.h"

namespace {

struct RecordBench {
    KpGame host;
    StrongRef<c_MyApp> app = MakeRef<c_MyApp>();
    std::filesystem::path previous = std::filesystem::current_path();
    std::string folder;
    RecordBench() {
        kp_app_Init(&host);
        kp_Search_Init();
        char pattern[] = "/tmp/quorlix-bench-XXXXXX";
        folder = mkdtemp(pattern);
        std::filesystem::current_path(folder);
        for (int i = 0; i < 25600; ++i) app->m_scores[i] = (i * 7919) % 7;
        for (int i = 0; i < 25; ++i) app->m_settings[i] = i * 3;
    }
    ~RecordBench() {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
};

void BM_RecordText(benchmark::State& state) {
    RecordBench bench;
    for (auto _ : state) benchmark::DoNotOptimize(bench.app->p_RecordText());
    state.counters["bytes"] = bench.app->p_RecordText().Length();
}
BENCHMARK(BM_RecordText);

void BM_SaveRecord(benchmark::State& state) {
    RecordBench bench;
    for (auto _ : state) bench.app->p_Save();
}
BENCHMARK(BM_SaveRecord)->Unit(benchmark::kMillisecond);

void BM_LoadRecord(benchmark::State& state) {
    RecordBench bench;
    bench.app->p_Save();
    // The load messages go to /dev/null while timing; the report goes to the real standard output.
    std::fflush(stdout);
    const int out = dup(1);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    for (auto _ : state) bench.app->p_Load();
    std::fflush(stdout);
    dup2(out, 1);
    close(quiet);
    close(out);
}
BENCHMARK(BM_LoadRecord)->Unit(benchmark::kMillisecond);

}  // namespace
