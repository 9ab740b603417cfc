// Benchmarks' sound: OpenAL Soft's null driver, so no benchmark depends on (or plays through) a sound card.
// Depends on OpenAL Soft reading the file named by ALSOFT_CONF, and on QUORLIX_BINARY_DIR (the build folder).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Writes the configuration and points OpenAL Soft at it. NOTE: OpenAL Soft reads its configuration once, when
// first used, so this runs before any device is opened.
inline void ChooseSilentSound() {
    const std::string conf = std::string(QUORLIX_BINARY_DIR) + "/bench/alsoft-null.conf";
    if (FILE* file = std::fopen(conf.c_str(), "w")) {
        std::fputs("[general]\ndrivers=null\n", file);
        std::fclose(file);
    }
    setenv("ALSOFT_CONF", conf.c_str(), 1);
}
