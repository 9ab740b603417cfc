// wave_onsets: what OpenAL Soft's wave writer recorded, for the end-to-end scripts. Prints the recording's
// length and the start time of every sound louder than a threshold that follows a given stretch of quiet, in
// seconds, one per line:
//   wave_onsets <file.wav> <threshold 0..1> <quiet gap seconds>
// Depends on the audio tests' reader of the wave writer's files.
#include <cstdio>
#include <cstdlib>

#include "tests/audio/openal_fixture.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: wave_onsets <file.wav> <threshold> <gap seconds>\n");
        return 2;
    }
    const altest::Recording recording = altest::ReadRecording(argv[1]);
    if (recording.rate <= 0 || !recording.complete) {
        std::fprintf(stderr, "wave_onsets: %s is not a complete recording\n", argv[1]);
        return 1;
    }
    std::printf("length %.3f\n", static_cast<double>(recording.Frames()) / recording.rate);
    for (double onset : recording.Onsets(std::strtof(argv[2], nullptr), std::strtod(argv[3], nullptr))) {
        std::printf("onset %.3f\n", onset);
    }
    return 0;
}
