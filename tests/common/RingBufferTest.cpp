// The byte ring shared by a writing and a reading thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "common/RingBuffer.h"

namespace {

TEST(RingBuffer, FullCapacityIsUsableAndWrapsInOrder)
{
    CRingBuffer ring(8);
    const char data[] = "abcdefgh";
    EXPECT_TRUE(ring.Write(data, 8));
    EXPECT_EQ(8, ring.GetDataSize());
    EXPECT_EQ(0, ring.GetFreeSpace());
    EXPECT_FALSE(ring.Write(data, 1));
    char out[16] = {};
    EXPECT_EQ(8, ring.Read(out, 8));
    EXPECT_EQ(0, std::memcmp(out, data, 8));
    EXPECT_EQ(0, ring.GetDataSize());

    // Write 6, read 4, write 5: the data wraps and comes out in order.
    CRingBuffer w(8);
    ASSERT_TRUE(w.Write("012345", 6));
    ASSERT_EQ(4, w.Read(out, 4));
    ASSERT_TRUE(w.Write("ABCDE", 5));
    EXPECT_EQ(7, w.GetDataSize());
    EXPECT_EQ(1, w.GetFreeSpace());
    std::memset(out, 0, sizeof out);
    EXPECT_EQ(7, w.Read(out, 10));
    EXPECT_EQ(0, std::memcmp(out, "45ABCDE", 7));

    // Wrapped and full: write meets read.
    CRingBuffer f(8);
    ASSERT_TRUE(f.Write("1234", 4));
    ASSERT_EQ(4, f.Read(out, 4));
    ASSERT_TRUE(f.Write("abcdefgh", 8));
    EXPECT_EQ(8, f.GetDataSize());
    EXPECT_EQ(0, f.GetFreeSpace());
    EXPECT_EQ(8, f.Read(out, 8));
    EXPECT_EQ(0, std::memcmp(out, "abcdefgh", 8));
}

TEST(RingBuffer, RefusesBadCountsWithoutTouchingTheData)
{
    CRingBuffer ring(8);
    char out[8] = {};
    ASSERT_TRUE(ring.Write("xyz", 3));
    EXPECT_FALSE(ring.Write("a", 0));
    EXPECT_FALSE(ring.Write("a", -1));
    EXPECT_FALSE(ring.Write("a", -2147483647 - 1));
    EXPECT_FALSE(ring.Write(nullptr, 1));
    EXPECT_FALSE(ring.Write("abcdefghijk", 6)); // 3 + 6 > 8
    EXPECT_FALSE(ring.WriteSilence(0));
    EXPECT_FALSE(ring.WriteSilence(-1));
    EXPECT_FALSE(ring.WriteSilence(2147483647));
    EXPECT_EQ(0, ring.Read(out, -5));
    EXPECT_EQ(0, ring.Read(nullptr, 3));
    EXPECT_EQ(3, ring.GetDataSize());
    EXPECT_TRUE(ring.WriteSilence(5));
    EXPECT_EQ(8, ring.Read(out, 8));
    EXPECT_EQ(0, std::memcmp(out, "xyz\0\0\0\0\0", 8));
}

TEST(RingBuffer, ReadExactAndReset)
{
    CRingBuffer ring(16);
    char out[16];
    int got = -1;
    EXPECT_FALSE(ring.ReadExact(out, 4, &got));
    EXPECT_EQ(0, got);
    ASSERT_TRUE(ring.Write("abc", 3));
    EXPECT_FALSE(ring.ReadExact(out, 4)); // exactly 4 or nothing
    EXPECT_EQ(3, ring.GetDataSize());
    EXPECT_TRUE(ring.ReadExact(out, 4, &got));
    EXPECT_EQ(3, got);
    ASSERT_TRUE(ring.Write("defgh", 5));
    EXPECT_TRUE(ring.ReadExact(out, 5));
    EXPECT_EQ(0, std::memcmp(out, "defgh", 5));
    ASSERT_TRUE(ring.Write("0123456789", 10));
    ring.Reset();
    EXPECT_EQ(0, ring.GetDataSize());
    EXPECT_EQ(16, ring.GetFreeSpace());

    CRingBuffer none(0); // no storage: every write fails, every read gives 0
    EXPECT_FALSE(none.Write("a", 1));
    EXPECT_EQ(0, none.Read(out, 1));
    EXPECT_EQ(0, none.GetFreeSpace());
}

TEST(RingBuffer, OneWriterOneReaderKeepEveryByteInOrder)
{
    CRingBuffer ring(1000);
    const int total = 3000000;
    std::atomic<bool> bad{false};
    std::thread writer([&] {
        unsigned char block[97];
        int next = 0;
        while (next < total) {
            const int n = total - next < 97 ? total - next : 97;
            for (int i = 0; i < n; ++i)
                block[i] = static_cast<unsigned char>((next + i) * 7);
            if (ring.Write(block, n))
                next += n;
            else
                std::this_thread::yield();
        }
    });
    int seen = 0;
    unsigned char block[113];
    while (seen < total) {
        const int n = ring.Read(block, sizeof block);
        for (int i = 0; i < n; ++i)
            if (block[i] != static_cast<unsigned char>((seen + i) * 7))
                bad = true;
        seen += n;
        if (n == 0)
            std::this_thread::yield();
    }
    writer.join();
    EXPECT_FALSE(bad);
    EXPECT_EQ(0, ring.GetDataSize());
}

} // namespace
