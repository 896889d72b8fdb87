// Parsing, reading and seeking of RIFF/WAVE files, and the reader factory.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "audio/WavReader.h"
#include "tests/audio/ReaderKit.h"

using namespace readerkit;

namespace {

class WavReaderTest : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = testsupport::ScratchDir(L"wavreader"); }

    // The bytes as a file of their own.
    std::wstring SaveNew(const Bytes& bytes) { return Save(m_dir, L"t" + std::to_wstring(++m_files) + L".wav", bytes); }
    // The plain reader when Open succeeded.
    CIPtr<CWavReader> OpenBytes(const Bytes& bytes)
    {
        CIPtr<CWavReader> r(new CWavReader());
        return r->Open(SaveNew(bytes).c_str()) ? r : nullptr;
    }
    bool Opens(const Bytes& bytes) { return OpenBytes(bytes) != nullptr; }

    std::wstring m_dir;
    int m_files = 0;
};

TEST_F(WavReaderTest, AcceptsPcmWithinLimitsOnly)
{
    // tag, channels, rate, bits, (average bytes), fmt chunk size
    const struct
    {
        Format f;
        bool opens;
    } cases[] = {
        {{1, 2, 44100, 16}, true},          {{1, 1, 44100, 8}, true},
        {{1, 2, 44100, 8}, true},           {{1, 1, 44100, 16}, true},
        {{1, 2, 1000, 16}, true},           {{1, 2, 100000, 16}, true},
        {{1, 2, 999, 16}, false},           {{1, 2, 100001, 16}, false},
        {{1, 3, 44100, 16}, false},         {{1, 0, 44100, 16}, false},
        {{1, 2, 44100, 24}, false},         {{1, 2, 44100, 12}, false},
        {{3, 2, 44100, 16}, false},         {{0xFFFE, 2, 44100, 16}, false}, // float, extensible
        {{1, 2, 44100, 16, -1, 18}, true},  {{1, 2, 44100, 16, -1, 40}, true},
        {{1, 2, 44100, 16, -1, 14}, false}, // shorter than the record
    };
    for (const auto& c : cases) {
        const Format& f = c.f;
        EXPECT_EQ(c.opens, Opens(Canonical(f, Noise(4000))))
            << f.tag << ' ' << f.channels << ' ' << f.rate << ' ' << f.bits << ' ' << f.size;
        // The format is judged wherever "fmt " stands, also after "data".
        EXPECT_EQ(c.opens, Opens(Riff({Chunk("data", Noise(4000)), Fmt(f)}))) << "after data: " << f.tag;
    }
    // One second; with a wrong average rate too, the length comes from the
    // format.
    const Bytes second = Noise(176400);
    for (int64_t avg : {-1, 0, 1}) {
        auto r = OpenBytes(Canonical({1, 2, 44100, 16, avg}, second));
        ASSERT_TRUE(r);
        EXPECT_EQ(1000, r->GetDuration()) << avg;
        EXPECT_EQ(176400, r->GetDataSize());
        EXPECT_EQ(44100, r->GetFrameCount());
        EXPECT_EQ(176400, r->GetFormat()->GetBytesPerSecond());
        EXPECT_EQ(second, ReadAll(r, 1000));
    }
}

TEST_F(WavReaderTest, OddSizesAndListChunks)
{
    // An odd unknown chunk with its pad byte before fmt and data.
    const Bytes data = Noise(4000);
    auto r = OpenBytes(Riff({Chunk("junk", Noise(3)), Fmt(Format()), Chunk("data", data)}));
    ASSERT_TRUE(r);
    EXPECT_EQ(data, ReadAll(r));

    // LIST/INFO with text chunks (one odd) between fmt and data.
    Bytes info = {'I', 'N', 'F', 'O'};
    Append(info, Chunk("INAM", Bytes{'a', 'b', 'c'}));
    Append(info, Chunk("ICMT", Bytes{'h', 'i'}));
    Append(info, Chunk("ZZZZ", Noise(5)));
    auto listed = OpenBytes(Riff({Fmt(Format()), Chunk("LIST", info), Chunk("data", data)}));
    ASSERT_TRUE(listed);
    EXPECT_EQ(data, ReadAll(listed));

    // A text chunk cut short by the end of the file: fatal before data,
    // harmless after it.
    Bytes cut = {'I', 'N', 'F', 'O'};
    Append(cut, Chunk("IART", Noise(100), true, 5000));
    EXPECT_FALSE(Opens(Riff({Fmt(Format()), Chunk("LIST", cut), Chunk("data", data)})));
    auto cutAfter = OpenBytes(Riff({Fmt(Format()), Chunk("data", data), Chunk("LIST", cut)}));
    ASSERT_TRUE(cutAfter);
    EXPECT_EQ(data, ReadAll(cutAfter));
}

TEST_F(WavReaderTest, BrokenAndHostileHeadersFailCleanly)
{
    const Bytes data = Noise(4000);
    // RIFF size 0 and a RIFF size far larger than the file: both walk the
    // whole file.
    EXPECT_TRUE(Opens(Riff({Fmt(Format()), Chunk("data", data)}, 0)));
    EXPECT_TRUE(Opens(Riff({Fmt(Format()), Chunk("data", data)}, 0xFFFFFFF0)));
    // Not RIFF; RIFF without WAVE; a second RIFF inside.
    for (size_t at : {0, 8}) {
        Bytes broken = Canonical(Format(), data);
        broken[at] = 'X';
        EXPECT_FALSE(Opens(broken)) << at;
    }
    EXPECT_FALSE(Opens(Riff({Fmt(Format()), Chunk("RIFF", Noise(8)), Chunk("data", data)})));
    // No fmt, no data, empty data.
    EXPECT_FALSE(Opens(Riff({Chunk("data", data)})));
    EXPECT_FALSE(Opens(Riff({Fmt(Format())})));
    EXPECT_FALSE(Opens(Riff({Fmt(Format()), Chunk("data", Bytes())})));
    // Chunk sizes near 4 GiB: nothing is allocated for them, the walk ends.
    for (const char* id : {"ICMT", "junk"})
        EXPECT_FALSE(Opens(Riff({Chunk(id, Noise(10), false, 0xFFFFFFFF), Fmt(Format()), Chunk("data", data)})));
    Bytes hugeText = {'I', 'N', 'F', 'O'};
    Append(hugeText, Chunk("ICMT", Noise(10), false, 0xFFFFFFFE));
    EXPECT_TRUE(Opens(Riff({Fmt(Format()), Chunk("data", data), Chunk("LIST", hugeText)})));
    // LIST chunks nested far deeper than any file: a clean false, no
    // exhausted stack.
    Bytes deep = Chunk("ZZZZ", Bytes(4, 0));
    for (int i = 0; i < 300; ++i) {
        Bytes payload = {'I', 'N', 'F', 'O'};
        Append(payload, deep);
        deep = Chunk("LIST", payload);
    }
    EXPECT_FALSE(Opens(Riff({deep, Fmt(Format()), Chunk("data", data)})));
    // Tiny and missing files.
    EXPECT_FALSE(Opens(Bytes()));
    EXPECT_FALSE(Opens(Bytes{'R', 'I', 'F', 'F'}));
    EXPECT_FALSE(Opens(Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}));
    CIPtr<CWavReader> r(new CWavReader());
    EXPECT_FALSE(r->Open((m_dir + L"\\missing.wav").c_str()));
    EXPECT_FALSE(r->Open(nullptr));
}

TEST_F(WavReaderTest, WholeFramesOnlyAndNoPadByteAsASamplePlainAndCached)
{
    // The header states one second; the file ends after 1000 bytes.
    const Bytes cut = Noise(1000);
    // 67579 frames of 8-bit mono: the chunk's pad byte (0x00, full-scale
    // negative) is no 67580th sample; the last one is silence, so a pad
    // byte read as audio would differ.
    Bytes odd8 = Noise(67579, 8);
    odd8.back() = 0x80;
    // 4001 bytes of 16-bit stereo: 1000 whole frames and a part of one.
    const Bytes part = Noise(4001, 4);
    const struct
    {
        Bytes file;
        const Bytes* data;
        LONGLONG frames;
    } cases[] = {
        {Riff({Fmt(Format()), Chunk("data", cut, false, 176400)}), &cut, 250},
        {Canonical({1, 1, 22050, 8}, odd8), &odd8, 67579},
        {Canonical(Format(), part), &part, 1000},
    };
    for (const auto& c : cases) {
        const std::wstring path = SaveNew(c.file);
        for (bool cache : {false, true}) {
            CIPtr<IAudioReader> r = OpenStarted(path, cache);
            ASSERT_TRUE(r) << c.frames << " cache " << cache;
            const LONGLONG bytes = c.frames * r->GetFormat()->GetBlockAlign();
            EXPECT_EQ(c.frames, r->GetFrameCount()) << "cache " << cache;
            EXPECT_EQ(Bytes(c.data->begin(), c.data->begin() + bytes), ReadAll(r)) << c.frames << " cache " << cache;
            r->Abort();
        }
    }
    // Two bytes of 16-bit stereo: no frame at all.
    const std::wstring tiny = SaveNew(Canonical(Format(), Noise(2)));
    EXPECT_FALSE(Open(tiny, false));
    EXPECT_FALSE(Open(tiny, true));
}

TEST_F(WavReaderTest, SeekThenReadGivesTheTargetFrame)
{
    // An odd chunk first: the data starts at an odd offset in the file.
    const Bytes data = Noise(441000);
    auto r = OpenBytes(Riff({Chunk("junk", Noise(7)), Fmt(Format()), Chunk("data", data)}));
    ASSERT_TRUE(r);
    std::mt19937 rng(7);
    uint8_t buf[64];
    DWORD got = 0;
    for (int i = 0; i < 200; ++i) {
        const int frame = std::uniform_int_distribution<int>(0, 110249)(rng);
        ASSERT_TRUE(r->Seek(frame));
        ASSERT_TRUE(r->Read(buf, sizeof buf, &got));
        ASSERT_EQ(std::min<DWORD>(64, static_cast<DWORD>(data.size() - frame * 4)), got);
        ASSERT_EQ(0, std::memcmp(buf, data.data() + frame * 4, got)) << "frame " << frame;
    }
    EXPECT_FALSE(r->Seek(LLONG_MAX / 2)); // no overflow into a bogus position
}

TEST_F(WavReaderTest, FactoryChoosesByExtensionAndFailsCleanly)
{
    const std::wstring upper = Save(m_dir, L"upper.WAV", Canonical(Format(), Noise(4000)));
    IAudioReader* const sentinel = reinterpret_cast<IAudioReader*>(0x1234);
    IAudioReader* out = sentinel;
    ASSERT_TRUE(CreateAudioReader(upper.c_str(), &out, false));
    ASSERT_NE(sentinel, out);
    EXPECT_EQ(1000, out->GetFrameCount());
    EXPECT_STREQ(upper.c_str(), out->GetPath());
    out->Release();

    // Files that no reader can open, with and without the cache, and bad
    // arguments: false, out-pointer untouched.
    out = sentinel;
    for (const wchar_t* name : {L"song.ogg", L"song.mp3", L"song", L"broken.wav"})
        for (bool cache : {false, true})
            EXPECT_FALSE(CreateAudioReader(Save(m_dir, name, Bytes(50, 'x')).c_str(), &out, cache)) << name;
    EXPECT_FALSE(CreateAudioReader(nullptr, &out, false));
    EXPECT_FALSE(CreateAudioReader(upper.c_str(), nullptr, false));
    EXPECT_EQ(sentinel, out);

    // With the cache: the wrapper answers its own IProcess, which starts
    // and stops once.
    CIPtr<IAudioReader> cached = Open(upper, true);
    ASSERT_TRUE(cached);
    CIPtr<IProcess> process;
    ASSERT_EQ(S_OK, cached->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&process)));
    EXPECT_TRUE(IsSameObject(cached, process));
    ASSERT_TRUE(WaitReady(cached));
    EXPECT_TRUE(process->Start());
    EXPECT_FALSE(process->Start());
    EXPECT_TRUE(process->IsRunning());
    EXPECT_TRUE(process->Stop());
    EXPECT_FALSE(process->Stop());
    cached->Abort();
}

} // namespace
