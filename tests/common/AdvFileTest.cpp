// The file wrapper: marks, lines, raw bytes and binary values on real files.
#include <gtest/gtest.h>

#include "common/AdvFile.h"
#include "tests/common/TestFiles.h"

#include <string>
#include <vector>

namespace {

using testfiles::Utf16;

class AdvFileTest : public testfiles::CScratchTest
{
protected:
    static std::vector<CString> Lines(CAdvFile& file)
    {
        std::vector<CString> lines;
        CString line;
        while (file.ReadLine(line))
            lines.push_back(line);
        return lines;
    }
};

TEST_F(AdvFileTest, ByteOrderMarkDetection)
{
    CAdvFile file;
    ASSERT_TRUE(file.OpenRead(Make(L"one.bin", {0x41}), true));
    EXPECT_FALSE(file.IsUnicode());
    EXPECT_EQ(0u, file.Tell());

    const CString le = Make(L"le.txt", {0xFF, 0xFE, 0x41, 0x00});
    ASSERT_TRUE(file.OpenRead(le, true));
    EXPECT_TRUE(file.IsUnicode());
    EXPECT_EQ(2u, file.Tell());
    ASSERT_TRUE(file.OpenRead(le, false));
    EXPECT_TRUE(file.IsUnicode());
    EXPECT_EQ(0u, file.Tell());

    ASSERT_TRUE(file.OpenRead(Make(L"be.txt", {0xFE, 0xFF, 0x00, 0x41}), true));
    EXPECT_FALSE(file.IsUnicode());
    EXPECT_EQ(0u, file.Tell());

    EXPECT_FALSE(file.OpenRead(Path(L"missing.txt")));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.OpenRead(nullptr));

    // Beside the program: the program file itself has no mark.
    EXPECT_TRUE(file.OpenReadInProgramFolder(L"test_common.exe", false));
    EXPECT_FALSE(file.IsUnicode());
    EXPECT_FALSE(file.OpenReadInProgramFolder(nullptr));
}

TEST_F(AdvFileTest, Utf16LinesAndEndings)
{
    // A last line ending adds no empty line.
    CAdvFile file;
    ASSERT_TRUE(file.OpenRead(Make(L"ends.txt", Utf16(L"a\r\n\r\nb\n\nc\n\rd\r\re\r\r\rf\r\n"))));
    EXPECT_EQ((std::vector<CString>{L"a", L"", L"b", L"c", L"d", L"e", L"", L"f"}), Lines(file));

    // A long line spans chunks; a CR ending one chunk and an LF starting the
    // next are one line ending.
    std::wstring longLine(99, L'\x00e9');
    ASSERT_TRUE(file.OpenRead(Make(L"long.txt", Utf16(longLine + L"\r\n" + std::wstring(250, L'q') + L"\r\nz"))));
    const std::vector<CString> parts = Lines(file);
    ASSERT_EQ(3u, parts.size());
    EXPECT_EQ(CString(longLine.c_str()), parts[0]);
    EXPECT_EQ(CString(L'q', 250), parts[1]);
    EXPECT_EQ(CString(L"z"), parts[2]);
}

TEST_F(AdvFileTest, AnsiLinesAndOddUtf16)
{
    CAdvFile file;
    ASSERT_TRUE(file.OpenRead(Make(L"ansi.txt", {'h', 'i', '\r', '\n', 'y', 'o'})));
    EXPECT_FALSE(file.IsUnicode());
    EXPECT_EQ((std::vector<CString>{L"hi", L"yo"}), Lines(file));

    // A trailing odd byte is no code unit: it is not read past.
    std::vector<BYTE> odd = Utf16(L"ab\r\ncd");
    odd.push_back(0x41);
    ASSERT_TRUE(file.OpenRead(Make(L"odd.txt", odd)));
    EXPECT_EQ((std::vector<CString>{L"ab", L"cd"}), Lines(file));

    CAdvFile closed;
    CString line = L"kept";
    EXPECT_FALSE(closed.ReadLine(line));
}

TEST_F(AdvFileTest, BinaryValuesAndEndOfFile)
{
    CAdvFile file;
    ASSERT_TRUE(file.OpenRead(Make(L"bin.dat", {1, 2, 3, 4, 1, 2, 3, 4, 9, 0xAA, 0xBB}), false));
    DWORD v = 0;
    file.ReadDWord(v);
    EXPECT_EQ(0x04030201u, v);
    file.SetSwapBytes(true);
    file.ReadDWord(v);
    EXPECT_EQ(0x01020304u, v);
    BYTE b = 0;
    file.ReadByte(b);
    EXPECT_EQ(9, b);
    EXPECT_EQ(9u, file.Tell());
    try {
        file.ReadDWord(v);
        FAIL() << "no exception at 2 bytes before the end";
    } catch (const CAdvFile::SException& e) {
        EXPECT_NE(0u, e.error);
    }

    CAdvFile closed;
    EXPECT_THROW(closed.ReadByte(b), CAdvFile::SException);
    EXPECT_EQ(0xFFFFFFFFu, closed.Tell());
    EXPECT_EQ(0u, closed.GetSize());
    BYTE buffer[4];
    EXPECT_FALSE(closed.Read(buffer, 4));
    EXPECT_FALSE(closed.Write(buffer, 4));
}

TEST_F(AdvFileTest, WritingSeekingAndStrings)
{
    const CString path = Path(L"written.txt");
    {
        CAdvFile file;
        ASSERT_TRUE(file.Create(path));
        EXPECT_FALSE(file.Create(path)) << "already open";
        EXPECT_TRUE(file.WriteBOM());
        EXPECT_TRUE(file.WriteLine(L"\x00e9t\x00e9"));
        EXPECT_TRUE(file.WriteText(L""));
        EXPECT_FALSE(file.WriteText(nullptr));
        EXPECT_TRUE(file.WriteText(L"end"));
        EXPECT_FALSE(file.Read(nullptr, 1));
    }
    EXPECT_EQ(Utf16(L"\x00e9t\x00e9\r\nend"), Bytes(path));

    // Writing to a file opened for reading only is a failure, reported.
    CAdvFile reader;
    ASSERT_TRUE(reader.OpenRead(path));
    EXPECT_FALSE(reader.WriteText(L"x"));
    EXPECT_FALSE(reader.WriteLine(L"x"));
    EXPECT_EQ(18u, reader.GetSize());
    EXPECT_EQ(6u, reader.SeekBegin(6));
    EXPECT_EQ(4u, reader.SeekBack(2));
    EXPECT_EQ(8u, reader.SeekCurrent(4));
    EXPECT_EQ(0xFFFFFFFFu, reader.Seek(0xFFFFFFFFLL, FILE_BEGIN));
    EXPECT_EQ(0xFFFFFFFFu, reader.SeekBegin(-1));
    EXPECT_EQ(0u, reader.SeekBegin(0));
    EXPECT_TRUE(reader.Match(L"\xfeff\x00e9"));
    EXPECT_FALSE(reader.Match(L"x"));
    EXPECT_EQ(6u, reader.Tell()) << "a failed match still moves on";
    reader.Close();

    ASSERT_TRUE(reader.OpenReadWrite(path));
    EXPECT_TRUE(reader.Truncate());
    EXPECT_EQ(0u, reader.GetSize());
    EXPECT_TRUE(reader.Write("\x05hello!", 7));
    reader.SeekBegin(0);
    EXPECT_EQ(CString(L"hello"), reader.ReadPascalStringA());
    reader.SeekBegin(0);
    EXPECT_TRUE(reader.Match("\x05hel"));
    reader.SeekBegin(1);
    EXPECT_EQ(CString(L"hello!"), reader.ReadString(100));
    reader.SeekBegin(0);
    ASSERT_TRUE(reader.Write("\x09", 1));
    reader.SeekBegin(0);
    EXPECT_TRUE(reader.ReadPascalStringA().IsEmpty()) << "length beyond the end";
}

TEST_F(AdvFileTest, ChainedInsertionsAndTheirFailedState)
{
    const CString path = Path(L"chained.txt");
    {
        CAdvFile file;
        ASSERT_TRUE(file.Create(path));
        file << L"ab" << L"" << L"\x00e9" << CString(L"\r\n");
        EXPECT_FALSE(file.Failed());
    }
    EXPECT_EQ(Utf16(L"ab\x00e9\r\n", false), Bytes(path)) << "back to back, no mark, no terminator";

    // A read-only file: the first write fails and the chain writes nothing
    // more, even where a write would have worked.
    CAdvFile reader;
    ASSERT_TRUE(reader.OpenRead(path, false));
    reader << L"x" << L"y";
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(10u, reader.GetSize());

    // A closed file fails, and so does a null text; the state stays until
    // cleared or until the next open.
    CAdvFile closed;
    closed << L"";
    EXPECT_TRUE(closed.Failed()) << "even an empty text needs an open file";
    ASSERT_TRUE(closed.Create(Path(L"second.txt")));
    EXPECT_FALSE(closed.Failed()) << "a new file starts clean";
    closed << static_cast<LPCWSTR>(nullptr) << L"lost";
    EXPECT_TRUE(closed.Failed());
    closed.ClearFailed();
    closed << L"kept";
    EXPECT_FALSE(closed.Failed());
    closed.Close();
    EXPECT_EQ(Utf16(L"kept", false), Bytes(Path(L"second.txt")));
}

} // namespace
