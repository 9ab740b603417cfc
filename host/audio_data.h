// Decoders of sound files into PCM: the game's own RIFF/WAVE reader and Ogg Vorbis through stb_vorbis.
// Depends on the C library only. Both read from an open file and leave it open; both answer a block from the
// C allocator (the caller frees it) with its length in sample frames, channels (1 or 2), bytes per sample
// (1 or 2) and sample rate, or null when the file is refused.
#pragma once

#include <cstdio>

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz);
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz);

class KpGame;
class String;
// A host's LoadAudioData: the sound file at a (virtual) path, opened through host and decoded by its extension
// (.wav or .ogg). A file that is missing or refused is told to the player once and gives null; PCM handed over
// is counted toward the collector's next collection.
unsigned char* LoadAudioFile(KpGame& host, const String& path, int* length, int* channels, int* format, int* hertz);
