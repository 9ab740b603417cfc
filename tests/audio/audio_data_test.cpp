// Sound file decoding against real files: the RIFF/WAVE reader (layouts, chunk walking, hostile headers,
// truncation), the choice of decoder by extension, and Ogg Vorbis files encoded by oggenc during the test
// (damaged ones too, and in damaged/ the files the fuzzer found).
#include <gtest/gtest.h>
#include <malloc.h>  // mallinfo2: memory a refused file left behind

#include <cstdlib>
#include <cstring>
#include <memory>

#include "host/audio_data.h"
#include "backend.h"  // KpZindleGame
#include "runtime/object.h"
#include "tests/audio/wav_bytes.h"

using namespace wavtest;

namespace {

// What a decoder answered; the outputs start at -7 so "left unset" is visible.
struct Decoded {
    std::unique_ptr<unsigned char, decltype(&std::free)> pcm{nullptr, &std::free};
    int length = -7, channels = -7, format = -7, hertz = -7;
    std::string Bytes() const {
        return std::string(reinterpret_cast<const char*>(pcm.get()), static_cast<size_t>(length) * channels * format);
    }
};

Decoded ReadWav(const wavtest::Bytes& bytes) {
    TempDir dir;
    FILE* file = std::fopen(dir.Write("in.wav", bytes).c_str(), "rb");
    Decoded out;
    out.pcm.reset(LoadWAV(file, &out.length, &out.channels, &out.format, &out.hertz));
    std::fclose(file);
    return out;
}

Decoded ReadThroughHost(const std::string& path) {
    KpZindleGame host;
    Decoded out;
    out.pcm.reset(host.LoadAudioData(String(path.c_str()), &out.length, &out.channels, &out.format, &out.hertz));
    return out;
}

void ExpectRefusedUntouched(const Decoded& d) {
    EXPECT_EQ(d.pcm, nullptr);
    EXPECT_EQ(d.length, -7);
    EXPECT_EQ(d.channels, -7);
    EXPECT_EQ(d.format, -7);
    EXPECT_EQ(d.hertz, -7);
}

}  // namespace

TEST(WavReader, DecodesMonoStereoEightAndSixteenBit) {
    struct Layout { int channels, bits, rate; };
    for (const Layout l : {Layout{1, 8, 11025}, Layout{2, 8, 22050}, Layout{1, 16, 22050}, Layout{2, 16, 44100}}) {
        SCOPED_TRACE(testing::Message() << l.channels << " channels, " << l.bits << " bits");
        const auto data = Counting(4 * 300);  // 300 frames at the widest layout, a whole number at every layout
        const Decoded d = ReadWav(Wav(l.channels, l.bits, l.rate, data));
        ASSERT_NE(d.pcm, nullptr);
        EXPECT_EQ(d.channels, l.channels);
        EXPECT_EQ(d.format, l.bits / 8);
        EXPECT_EQ(d.hertz, l.rate);
        EXPECT_EQ(d.length, static_cast<int>(data.size()) / (l.channels * l.bits / 8));
        EXPECT_EQ(d.Bytes(), data);
    }
}

TEST(WavReader, WalksPastOtherChunksAndLongFormatChunks) {
    const auto data = Counting(64);
    const auto list = Chunk("LIST", "INFOISFT" + Le32(6) + "tool\0\0");
    // A chunk of another kind between the format chunk and the data.
    Decoded d = ReadWav(Riff(Chunk("fmt ", FmtBody(1, 16, 8000)) + list + Chunk("fact", Le32(32)) + Chunk("data", data)));
    ASSERT_NE(d.pcm, nullptr);
    EXPECT_EQ(d.Bytes(), data);
    // An 18-byte format chunk: its two extra bytes are skipped, not taken for the next chunk's tag.
    d = ReadWav(Riff(Chunk("fmt ", FmtBody(2, 16, 8000, 1, Le16(0))) + Chunk("data", data)));
    ASSERT_NE(d.pcm, nullptr);
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.length, 16);
    EXPECT_EQ(d.Bytes(), data);
    // A chunk of odd size is followed by its pad byte, which is not the next chunk's tag.
    const auto odd = Chunk("LIST", "INFOa") + Bytes(1, '\0');
    d = ReadWav(Riff(Chunk("fmt ", FmtBody(1, 16, 8000)) + odd + Chunk("data", data)));
    ASSERT_NE(d.pcm, nullptr);
    EXPECT_EQ(d.Bytes(), data);
    // An empty data chunk is a sound of no frames.
    d = ReadWav(Wav(1, 16, 8000, ""));
    ASSERT_NE(d.pcm, nullptr);
    EXPECT_EQ(d.length, 0);
}

TEST(WavReader, RefusesFilesThatAreNotPlainPcmWave) {
    const auto fmt = Chunk("fmt ", FmtBody(1, 16, 8000));
    const auto data = Chunk("data", Counting(8));
    ExpectRefusedUntouched(ReadWav(""));
    ExpectRefusedUntouched(ReadWav("RIFX" + Le32(100) + "WAVE" + fmt + data));
    ExpectRefusedUntouched(ReadWav("RIFF" + Le32(100) + "AVI " + fmt + data));
    // The format chunk must come first.
    ExpectRefusedUntouched(ReadWav(Riff(Chunk("LIST", "INFO") + fmt + data)));
    ExpectRefusedUntouched(ReadWav(Riff(data + fmt)));
    // Floating-point samples and compressed formats.
    ExpectRefusedUntouched(ReadWav(Riff(Chunk("fmt ", FmtBody(1, 32, 8000, 3)) + data)));
    ExpectRefusedUntouched(ReadWav(Riff(Chunk("fmt ", FmtBody(1, 4, 8000, 2)) + data)));
    // No data chunk at all.
    ExpectRefusedUntouched(ReadWav(Riff(fmt + Chunk("LIST", "INFO"))));
}

TEST(WavReader, RefusesHeadersThatWouldDivideByZero) {
    const auto data = Chunk("data", Counting(8));
    ExpectRefusedUntouched(ReadWav(Riff(Chunk("fmt ", FmtBody(0, 16, 8000)) + data)));
    for (int bits : {0, 1, 4, 7}) {
        ExpectRefusedUntouched(ReadWav(Riff(Chunk("fmt ", FmtBody(1, bits, 8000)) + data)));
    }
    // A format chunk that claims fewer bytes than the fields it must hold.
    ExpectRefusedUntouched(ReadWav(Riff(ChunkWithSize("fmt ", 14, FmtBody(1, 16, 8000)) + data)));
}

TEST(WavReader, RefusesHostileChunkSizesWithoutHangingOrOverAllocating) {
    const auto fmt = Chunk("fmt ", FmtBody(1, 16, 8000));
    const auto data = Chunk("data", Counting(8));
    // A negative size would step back onto the same chunk for ever.
    ExpectRefusedUntouched(ReadWav(Riff(fmt + ChunkWithSize("junk", -8, "") + data)));
    ExpectRefusedUntouched(ReadWav(Riff(fmt + ChunkWithSize("junk", -16, "") + data)));
    ExpectRefusedUntouched(ReadWav(Riff(fmt + ChunkWithSize("data", INT32_MIN, Counting(8)))));
    // Sizes beyond the end of the file: the data chunk is not allocated blindly, other chunks end the walk.
    ExpectRefusedUntouched(ReadWav(Riff(fmt + ChunkWithSize("data", 0x7FFFFFF0, Counting(8)))));
    ExpectRefusedUntouched(ReadWav(Riff(fmt + ChunkWithSize("data", 9, Counting(8)))));
    ExpectRefusedUntouched(ReadWav(Riff(fmt + ChunkWithSize("junk", 0x7FFFFFF0, "") + data)));
    ExpectRefusedUntouched(ReadWav(Riff(ChunkWithSize("fmt ", 0x7FFFFFF0, FmtBody(1, 16, 8000)) + data)));
}

TEST(WavReader, EveryTruncationOfAGoodFileIsRefused) {
    const auto whole = Riff(Chunk("fmt ", FmtBody(2, 16, 8000, 1, Le16(0))) + Chunk("LIST", "INFO") +
                            Chunk("data", Counting(40)));
    ASSERT_NE(ReadWav(whole).pcm, nullptr);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        ExpectRefusedUntouched(ReadWav(whole.substr(0, cut)));
    }
}

TEST(AudioData, ChoosesTheDecoderByExtensionIgnoringCase) {
    TempDir dir;
    const auto wav = Wav(1, 16, 8000, Counting(200));
    for (const char* name : {"a.wav", "b.WAV", "c.Wav"}) {
        SCOPED_TRACE(name);
        const Decoded d = ReadThroughHost(dir.Write(name, wav));
        ASSERT_NE(d.pcm, nullptr);
        EXPECT_EQ(d.length, 100);
    }
    // A good WAV under any other name is refused, and so is an Ogg name over WAV bytes.
    for (const char* name : {"d.wave", "e.wav.bak", "f.mp3", "g", "h.ogg", "wav"}) {
        SCOPED_TRACE(name);
        ExpectRefusedUntouched(ReadThroughHost(dir.Write(name, wav)));
    }
    ExpectRefusedUntouched(ReadThroughHost(dir.Path() + "/missing.wav"));
}

TEST(AudioData, CountsDecodedBytesTowardTheCollector) {
    TempDir dir;
    const int64_t before = gc_ext_new_bytes.load();
    const Decoded d = ReadThroughHost(dir.Write("s.wav", Wav(2, 16, 8000, Counting(400))));
    ASSERT_NE(d.pcm, nullptr);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 400);
    ReadThroughHost(dir.Path() + "/missing.wav");
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 400);
}

// Encodes a WAV with oggenc (and its further options); false when the encoder is not installed.
bool EncodeOgg(const std::string& wavPath, const std::string& oggPath, const std::string& options = "") {
    const std::string command = "oggenc -Q " + options + " -o '" + oggPath + "' '" + wavPath + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

TEST(OggReader, DecodesEncodedFilesToTheirExactLength) {
    struct Layout { int channels, rate, frames; };
    TempDir dir;
    for (const Layout l : {Layout{1, 22050, 11025}, Layout{2, 44100, 30001}, Layout{1, 8000, 100}}) {
        SCOPED_TRACE(testing::Message() << l.channels << " channels, " << l.frames << " frames");
        const std::string wav = dir.Write("tone.wav", Wav(l.channels, 16, l.rate, Sine16(l.frames, l.channels, l.rate, 0.5, 440)));
        const std::string ogg = dir.Path() + "/tone.ogg";
        if (!EncodeOgg(wav, ogg)) GTEST_SKIP() << "oggenc (vorbis-tools) is not installed";
        const Decoded d = ReadThroughHost(ogg);
        ASSERT_NE(d.pcm, nullptr);
        EXPECT_EQ(d.length, l.frames);
        EXPECT_EQ(d.channels, l.channels);
        EXPECT_EQ(d.format, 2);
        EXPECT_EQ(d.hertz, l.rate);
        // The tone survives the round trip: its loudest sample is near half of full scale.
        const auto* samples = reinterpret_cast<const int16_t*>(d.pcm.get());
        int peak = 0;
        for (int i = 0; i < d.length * d.channels; ++i) peak = std::max(peak, std::abs(int{samples[i]}));
        EXPECT_NEAR(peak, 16384, 2500);
    }
}

TEST(OggReader, RefusesDamagedFiles) {
    TempDir dir;
    ExpectRefusedUntouched(ReadThroughHost(dir.Write("empty.ogg", "")));
    ExpectRefusedUntouched(ReadThroughHost(dir.Write("noise.ogg", Counting(5000))));
    const std::string wav = dir.Write("tone.wav", Wav(1, 16, 22050, Sine16(22050, 1, 22050, 0.5, 440)));
    const std::string ogg = dir.Path() + "/tone.ogg";
    if (!EncodeOgg(wav, ogg)) GTEST_SKIP() << "oggenc (vorbis-tools) is not installed";
    // Cut anywhere in its first two pages (the identification and comment headers), the file is refused.
    FILE* f = std::fopen(ogg.c_str(), "rb");
    std::string head(400, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), f));
    std::fclose(f);
    for (size_t cut = 1; cut < head.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        ExpectRefusedUntouched(ReadThroughHost(dir.Write("head.ogg", head.substr(0, cut))));
    }
}

TEST(OggReader, RefusesLayoutsTheSampleLoaderCannotPlay) {
    TempDir dir;
    const std::string wav = dir.Write("three.wav", Wav(3, 16, 22050, Sine16(2205, 3, 22050, 0.5, 440)));
    const std::string ogg = dir.Path() + "/three.ogg";
    if (!EncodeOgg(wav, ogg)) GTEST_SKIP() << "oggenc (vorbis-tools) is not installed";
    ExpectRefusedUntouched(ReadThroughHost(ogg));
}

namespace {
std::string FileBytes(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    std::string bytes;
    char block[4096];
    for (size_t n; f && (n = std::fread(block, 1, sizeof block, f)) > 0;) bytes.append(block, n);
    if (f) std::fclose(f);
    return bytes;
}
void PutLe32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
uint32_t GetLe32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}
}  // namespace

// NOTE: stb_vorbis takes the comment header's lengths as they stand, and writes outside the memory it set aside
// (or, for a count, asks for gigabytes) when they pass the end of their packet; the reader refuses such files
// before the decoder sees them.
TEST(OggReader, RefusesCommentHeadersWhoseLengthsPassTheirPacket) {
    TempDir dir;
    const std::string wav = dir.Write("tone.wav", Wav(1, 16, 22050, Sine16(4410, 1, 22050, 0.5, 440)));
    const std::string ogg = dir.Path() + "/tone.ogg";
    if (!EncodeOgg(wav, ogg, "-c TITLE=tone -c ARTIST=us")) GTEST_SKIP() << "oggenc (vorbis-tools) is not installed";
    const std::string good = FileBytes(ogg);
    ASSERT_NE(ReadThroughHost(ogg).pcm, nullptr) << "a file with comments decodes";

    // oggenc's layout: the first page (27 header bytes, 1 lacing byte, 30 of identification header), then the
    // second page, whose first segment is the whole comment header (under 255 bytes here).
    const size_t page = 58, segments = static_cast<unsigned char>(good[page + 26]);
    const size_t packet = page + 27 + segments, packetLength = static_cast<unsigned char>(good[page + 27]);
    ASSERT_EQ(good.substr(packet, 7), "\x03vorbis");
    ASSERT_LT(packetLength, 255u);
    const size_t vendorAt = packet + 7;
    const size_t countAt = vendorAt + 4 + GetLe32(good, vendorAt);
    ASSERT_GE(GetLe32(good, countAt), 2u);
    const size_t firstCommentAt = countAt + 4;
    const size_t end = packet + packetLength;

    struct Damage { const char* what; size_t at; uint32_t value; };
    for (const Damage d : {Damage{"vendor length -1", vendorAt, 0xFFFFFFFFu},
                           Damage{"vendor one past the packet", vendorAt, static_cast<uint32_t>(end - vendorAt - 4 + 1)},
                           Damage{"two billion comments", countAt, 0x7FFFFFFFu},
                           Damage{"a comment one past the packet", firstCommentAt,
                                  static_cast<uint32_t>(end - firstCommentAt - 4 + 1)}}) {
        SCOPED_TRACE(d.what);
        std::string bad = good;
        PutLe32(bad, d.at, d.value);
        ExpectRefusedUntouched(ReadThroughHost(dir.Write("bad.ogg", bad)));
    }
    // The framing bit after the last comment.
    std::string unframed = good;
    unframed[end - 1] = 0;
    ExpectRefusedUntouched(ReadThroughHost(dir.Write("unframed.ogg", unframed)));
}

TEST(OggReader, AFileWhoseCommentsSpanPagesDecodes) {
    TempDir dir;
    const std::string wav = dir.Write("tone.wav", Wav(1, 16, 22050, Sine16(2205, 1, 22050, 0.5, 440)));
    const std::string ogg = dir.Path() + "/long.ogg";
    // Over 64 KiB of comment: the header continues over several pages.
    if (!EncodeOgg(wav, ogg, "-c NOTE=" + std::string(70000, 'x'))) GTEST_SKIP() << "oggenc (vorbis-tools) is not installed";
    const Decoded d = ReadThroughHost(ogg);
    ASSERT_NE(d.pcm, nullptr);
    EXPECT_EQ(d.length, 2205);
}

// A damaged codebook (the fuzzer's find) once left the decoder's scratch memory allocated on its way out.
TEST(OggReader, ADamagedCodebookIsRefusedAndLeavesNoMemoryBehind) {
    const std::string path = QUORLIX_SOURCE_DIR "/tests/audio/damaged/codebook-leak.ogg";
    // Twice first: the player is told of the damaged file once, and that notice keeps a little memory of its own.
    ExpectRefusedUntouched(ReadThroughHost(path));
    ExpectRefusedUntouched(ReadThroughHost(path));
    const size_t before = mallinfo2().uordblks;
    ExpectRefusedUntouched(ReadThroughHost(path));
    EXPECT_EQ(mallinfo2().uordblks, before);
}
