// Parsing, reading and seeking of RIFF/WAVE files, and the reader factory.
#include <gtest/gtest.h>

#include <random>

#include "audio/CreateAudioReader.h"
#include "audio/WavReader.h"
#include "common/Interfaces.h"
#include "tests/audio/WavFile.h"

using namespace wavfile;

namespace {

class WavReaderTest : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = testsupport::ScratchDir(L"wavreader"); }

    // Opens the bytes as a file of its own; the reader when Open succeeded.
    CIPtr<CWavReader> OpenBytes(const Bytes& bytes)
    {
        CIPtr<CWavReader> r(new CWavReader());
        const std::wstring name = L"t" + std::to_wstring(++m_files) + L".wav";
        if (!r->Open(Save(m_dir, name, bytes).c_str()))
            return nullptr;
        return r;
    }
    bool Opens(const Bytes& bytes) { return OpenBytes(bytes) != nullptr; }

    std::wstring m_dir;
    int m_files = 0;
};

TEST_F(WavReaderTest, CanonicalStereoFile)
{
    const Bytes data = Noise(176400);
    auto r = OpenBytes(Canonical(Format(), data));
    ASSERT_TRUE(r);
    EXPECT_EQ(1000, r->GetDuration());
    EXPECT_EQ(176400, r->GetDataSize());
    EXPECT_EQ(44100, r->GetFrameCount());
    EXPECT_EQ(44100u, r->GetFormat()->nSamplesPerSec);
    EXPECT_EQ(16u, r->GetFormat()->nBitsPerSample);
    EXPECT_EQ(2u, r->GetFormat()->nChannels);
    EXPECT_EQ(4, r->GetFormat()->GetBlockAlign());
    EXPECT_EQ(176400, r->GetFormat()->GetBytesPerSecond());
    EXPECT_EQ(0, r->GetPosition());
    EXPECT_EQ(data, ReadAll(r));
    EXPECT_EQ(44100, r->GetPosition());
    DWORD got = 0;
    uint8_t b[4];
    EXPECT_FALSE(r->Read(b, 4, &got));
    // Back to the start: the whole data again.
    ASSERT_TRUE(r->Seek(0));
    EXPECT_EQ(data, ReadAll(r, 1000));
}

TEST_F(WavReaderTest, AcceptsPcmWithinLimitsOnly)
{
    auto with = [&](Format f) { return Opens(Canonical(f, Noise(4000))); };
    Format f;
    EXPECT_TRUE(with(f));
    f.bits = 8; f.channels = 1;
    EXPECT_TRUE(with(f));
    f.channels = 2;
    EXPECT_TRUE(with(f));
    f = Format(); f.channels = 1;
    EXPECT_TRUE(with(f));
    f = Format(); f.rate = 1000;
    EXPECT_TRUE(with(f));
    f.rate = 100000;
    EXPECT_TRUE(with(f));
    f.rate = 999;
    EXPECT_FALSE(with(f));
    f.rate = 100001;
    EXPECT_FALSE(with(f));
    f = Format(); f.channels = 3;
    EXPECT_FALSE(with(f));
    f = Format(); f.channels = 0;
    EXPECT_FALSE(with(f));
    f = Format(); f.bits = 24;
    EXPECT_FALSE(with(f));
    f = Format(); f.bits = 12;
    EXPECT_FALSE(with(f));
    f = Format(); f.tag = 3;        // float
    EXPECT_FALSE(with(f));
    f.tag = 0xFFFE;                 // extensible
    EXPECT_FALSE(with(f));
    // The format is judged wherever "fmt " stands, also after "data": a
    // 16-bit extensible or float header is not read as PCM.
    f = Format(); f.tag = 0xFFFE;
    EXPECT_FALSE(Opens(Riff({Chunk("data", Noise(4000)), Fmt(f)})));
    f.tag = 3;
    EXPECT_FALSE(Opens(Riff({Chunk("data", Noise(4000)), Fmt(f)})));
    EXPECT_TRUE(Opens(Riff({Chunk("data", Noise(4000)), Fmt(Format())})));
    f = Format(); f.size = 18;
    EXPECT_TRUE(with(f));
    f.size = 40;
    EXPECT_TRUE(with(f));
    f.size = 14;                    // shorter than the record
    EXPECT_FALSE(with(f));
    f = Format(); f.avgBytes = 0;   // the length comes from the format
    auto r = OpenBytes(Canonical(f, Noise(176400)));
    ASSERT_TRUE(r);
    EXPECT_EQ(1000, r->GetDuration());
    f.avgBytes = 1;
    auto r1 = OpenBytes(Canonical(f, Noise(176400)));
    ASSERT_TRUE(r1);
    EXPECT_EQ(1000, r1->GetDuration());
}

TEST_F(WavReaderTest, OddSizesAndListChunks)
{
    // An odd unknown chunk with its pad byte before fmt and data.
    const Bytes data = Noise(4000);
    auto r = OpenBytes(Riff({Chunk("junk", Noise(3)), Fmt(Format()), Chunk("data", data)}));
    ASSERT_TRUE(r);
    EXPECT_EQ(data, ReadAll(r));

    // An odd data chunk: its pad byte belongs to the layout, not the data.
    Format mono8;
    mono8.bits = 8; mono8.channels = 1; mono8.rate = 8000;
    auto odd = OpenBytes(Riff({Fmt(mono8), Chunk("data", Noise(3)), Chunk("junk", Noise(4))}));
    ASSERT_TRUE(odd);
    EXPECT_EQ(3, odd->GetDataSize());
    EXPECT_EQ(8u, odd->GetFormat()->nBitsPerSample);

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
    Bytes notRiff = Riff({Fmt(Format()), Chunk("data", data)});
    notRiff[0] = 'X';
    EXPECT_FALSE(Opens(notRiff));
    Bytes noWave = Riff({Fmt(Format()), Chunk("data", data)});
    noWave[8] = 'X';
    EXPECT_FALSE(Opens(noWave));
    EXPECT_FALSE(Opens(Riff({Fmt(Format()), Chunk("RIFF", Noise(8)), Chunk("data", data)})));
    // No fmt, no data, empty data.
    EXPECT_FALSE(Opens(Riff({Chunk("data", data)})));
    EXPECT_FALSE(Opens(Riff({Fmt(Format())})));
    EXPECT_FALSE(Opens(Riff({Fmt(Format()), Chunk("data", Bytes())})));
    // Chunk sizes near 4 GiB: nothing is allocated for them, the walk ends.
    EXPECT_FALSE(Opens(Riff({Chunk("ICMT", Noise(10), false, 0xFFFFFFFF), Fmt(Format()),
                             Chunk("data", data)})));
    EXPECT_FALSE(Opens(Riff({Chunk("junk", Noise(10), false, 0xFFFFFFFF), Fmt(Format()),
                             Chunk("data", data)})));
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

TEST_F(WavReaderTest, TruncatedDataChunkHoldsWhatTheFileHolds)
{
    // The header states one second; the file ends after 1000 bytes.
    const Bytes data = Noise(1000);
    auto r = OpenBytes(Riff({Fmt(Format()), Chunk("data", data, false, 176400)}));
    ASSERT_TRUE(r);
    EXPECT_EQ(1000, r->GetDataSize());
    EXPECT_EQ(250, r->GetFrameCount());
    EXPECT_EQ(5, r->GetDuration());
    EXPECT_EQ(data, ReadAll(r));
}

TEST_F(WavReaderTest, SeekThenReadGivesTheTargetFrame)
{
    const Bytes data = Noise(441000);
    auto r = OpenBytes(Riff({Chunk("junk", Noise(7)), Fmt(Format()), Chunk("data", data)}));
    ASSERT_TRUE(r);
    std::mt19937 rng(7);
    const int frames = static_cast<int>(r->GetFrameCount());
    for (int i = 0; i < 200; ++i) {
        const int frame = std::uniform_int_distribution<int>(0, frames - 1)(rng);
        ASSERT_TRUE(r->Seek(frame));
        EXPECT_EQ(frame, r->GetPosition());
        uint8_t buf[64];
        DWORD got = 0;
        ASSERT_TRUE(r->Read(buf, sizeof buf, &got));
        const DWORD expect = std::min<DWORD>(64, static_cast<DWORD>(data.size() - frame * 4));
        ASSERT_EQ(expect, got);
        ASSERT_EQ(0, std::memcmp(buf, data.data() + frame * 4, got)) << "frame " << frame;
    }
    EXPECT_FALSE(r->Seek(-1));
    EXPECT_FALSE(r->Seek(frames + 10)); // past the end: refused, the position stays
    EXPECT_FALSE(r->Seek(frames));
    uint8_t b[4];
    DWORD got = 0;
    EXPECT_TRUE(r->Seek(frames - 1));
    EXPECT_TRUE(r->Read(b, 4, &got));
    EXPECT_EQ(0, std::memcmp(b, data.data() + data.size() - 4, 4));
    EXPECT_FALSE(r->Seek(LLONG_MAX / 2)); // no overflow into a bogus position
    EXPECT_FALSE(r->Read(b, 4, &got));
}

TEST_F(WavReaderTest, OddLengthEightBitFileEndsWithItsOwnLastSample)
{
    // 67579 frames of 8-bit mono: the chunk's pad byte (0x00, full-scale
    // negative) must not be read as a 67580th sample, plain or cached.
    Format mono8;
    mono8.bits = 8; mono8.channels = 1; mono8.rate = 22050;
    Bytes data = Noise(67579, 8);
    data.back() = 0x80; // silence: a pad byte read as audio would differ
    const std::wstring path = Save(m_dir, L"odd8.wav", Canonical(mono8, data));
    for (bool cache : {false, true}) {
        CIPtr<IAudioReader> r;
        ASSERT_TRUE(CreateAudioReader(path.c_str(), &r, cache));
        for (int i = 0; i < 1000 && !r->IsReady(); ++i)
            Sleep(5);
        CIPtr<IProcess> process;
        ASSERT_TRUE(SUCCEEDED(process.QueryFrom(r, IID_IProcess)) && process->Start());
        EXPECT_EQ(67579, r->GetFrameCount()) << "cache " << cache;
        EXPECT_EQ(data, ReadAll(r)) << "cache " << cache;
        r->Abort();
    }
}

TEST_F(WavReaderTest, DataShorterThanOneFrameIsRefusedPlainAndCached)
{
    // Two bytes of 16-bit stereo: no frame at all.
    const std::wstring path = Save(m_dir, L"tiny.wav", Canonical(Format(), Noise(2)));
    for (bool cache : {false, true}) {
        IAudioReader* r = nullptr;
        EXPECT_FALSE(CreateAudioReader(path.c_str(), &r, cache)) << "cache " << cache;
        if (r)
            r->Release();
    }
}

TEST_F(WavReaderTest, FactoryChoosesByExtensionAndFailsCleanly)
{
    const Bytes file = Canonical(Format(), Noise(4000));
    IAudioReader* const sentinel = reinterpret_cast<IAudioReader*>(0x1234);

    IAudioReader* out = sentinel;
    ASSERT_TRUE(CreateAudioReader(Save(m_dir, L"upper.WAV", file).c_str(), &out, false));
    ASSERT_NE(sentinel, out);
    EXPECT_EQ(1000, out->GetFrameCount());
    EXPECT_STREQ((m_dir + L"\\upper.WAV").c_str(), out->GetPath());
    out->Release();

    // Files that no reader can open, with and without the cache, and bad
    // arguments: false, out-pointer untouched.
    for (const wchar_t* name : {L"song.ogg", L"song.mp3", L"song", L"broken.wav"}) {
        const Bytes bytes(50, 'x');
        out = sentinel;
        EXPECT_FALSE(CreateAudioReader(Save(m_dir, name, bytes).c_str(), &out, false)) << name;
        EXPECT_FALSE(CreateAudioReader(Save(m_dir, name, bytes).c_str(), &out, true)) << name;
        EXPECT_EQ(sentinel, out) << name;
    }
    EXPECT_FALSE(CreateAudioReader(nullptr, &out, false));
    EXPECT_FALSE(CreateAudioReader((m_dir + L"\\upper.WAV").c_str(), nullptr, false));
    EXPECT_EQ(sentinel, out);

    // With the cache: the wrapper answers its own IProcess, which refuses to
    // start until the cache is complete and then starts once.
    CIPtr<IAudioReader> cached;
    ASSERT_TRUE(CreateAudioReader((m_dir + L"\\upper.WAV").c_str(), &cached, true));
    CIPtr<IProcess> process;
    ASSERT_EQ(S_OK, cached->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&process)));
    EXPECT_TRUE(IsSameObject(cached, process));
    CIPtr<IPeakContainer> none;
    EXPECT_EQ(E_NOINTERFACE, cached->QueryInterface(IID_IPeakContainer, reinterpret_cast<void**>(&none)));
    EXPECT_EQ(E_INVALIDARG, cached->QueryInterface(IID_IProcess, nullptr));
    for (int i = 0; i < 500 && !cached->IsReady(); ++i)
        Sleep(10);
    ASSERT_TRUE(cached->IsReady());
    EXPECT_TRUE(process->Start());
    EXPECT_FALSE(process->Start());
    EXPECT_TRUE(process->IsRunning());
    EXPECT_TRUE(process->Stop());
    EXPECT_FALSE(process->Stop());
    cached->Abort();
}

} // namespace
