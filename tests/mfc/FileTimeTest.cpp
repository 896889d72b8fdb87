#include <gtest/gtest.h>
#include <vector>
#include "platform/mfc/afx.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(File, WriteReadSeekRoundTrip)
{
    const CString path = CString(testsupport::ScratchDir(L"mfc_file").c_str()) + L"\\data.bin";
    std::vector<unsigned char> bytes(70000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    {
        CFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite));
        f.Write(bytes.data(), 1000);
        f.Write(bytes.data() + 1000, static_cast<UINT>(bytes.size() - 1000));
        EXPECT_EQ(bytes.size(), f.GetPosition());
        f.Flush();
        f.Close();
        EXPECT_EQ(CFile::hFileNull, f.m_hFile);
    }
    EXPECT_EQ(bytes, testsupport::ReadFileBytes(std::wstring(path)));

    CFile f(path, CFile::modeRead | CFile::shareDenyNone);
    EXPECT_EQ(bytes.size(), f.GetLength());
    EXPECT_STREQ(L"data.bin", f.GetFileName());
    std::vector<unsigned char> back(bytes.size() + 10);
    EXPECT_EQ(bytes.size(), f.Read(back.data(), static_cast<UINT>(back.size())));
    back.resize(bytes.size());
    EXPECT_EQ(bytes, back);
    EXPECT_EQ(0u, f.Read(back.data(), 10)); // at the end
    EXPECT_EQ(65536u, f.Seek(65536, CFile::begin));
    EXPECT_EQ(65530u, f.Seek(-6, CFile::current));
    unsigned char b = 0;
    EXPECT_EQ(1u, f.Read(&b, 1));
    EXPECT_EQ(bytes[65530], b);
    EXPECT_EQ(bytes.size() - 1, f.Seek(-1, CFile::end));
    f.Close();

    // modeNoTruncate keeps the content; SetLength cuts it.
    CFile g;
    ASSERT_TRUE(g.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
    EXPECT_EQ(bytes.size(), g.GetLength());
    g.SetLength(10);
    EXPECT_EQ(10u, g.GetLength());
    g.SeekToEnd();
    g.Write("xy", 2);
    g.Close();
    EXPECT_EQ(12u, testsupport::ReadFileBytes(std::wstring(path)).size());
}

TEST(File, FailedOpenReportsTheWindowsError)
{
    const CString dir = testsupport::ScratchDir(L"mfc_file_err").c_str();
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(dir + L"\\missing.bin", CFile::modeRead, &error));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error.m_lOsError);
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    EXPECT_STREQ(dir + L"\\missing.bin", error.m_strFileName);

    EXPECT_FALSE(f.Open(dir + L"\\no\\such\\dir\\x.bin", CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(ERROR_PATH_NOT_FOUND, error.m_lOsError);
    EXPECT_EQ(CFileException::badPath, error.m_cause);

    // An exclusive holder makes a second open fail with a sharing violation.
    CFile holder;
    ASSERT_TRUE(holder.Open(dir + L"\\held.bin", CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive));
    EXPECT_FALSE(f.Open(dir + L"\\held.bin", CFile::modeRead, &error));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, error.m_lOsError);
    EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
    // Even a second open that shares everything is refused by an exclusive holder.
    EXPECT_FALSE(f.Open(dir + L"\\held.bin", CFile::modeRead | CFile::shareDenyNone, &error));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, error.m_lOsError);
    holder.Close();

    // Deny-write lets readers in but not writers; deny-read the other way round.
    CFile reader;
    ASSERT_TRUE(reader.Open(dir + L"\\held.bin", CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_TRUE(f.Open(dir + L"\\held.bin", CFile::modeRead | CFile::shareDenyNone));
    f.Close();
    EXPECT_FALSE(f.Open(dir + L"\\held.bin", CFile::modeWrite | CFile::shareDenyNone, &error));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, error.m_lOsError);
    reader.Close();
    CFile writer;
    ASSERT_TRUE(writer.Open(dir + L"\\held.bin", CFile::modeWrite | CFile::shareDenyRead));
    EXPECT_TRUE(f.Open(dir + L"\\held.bin", CFile::modeWrite | CFile::shareDenyNone));
    f.Close();
    EXPECT_FALSE(f.Open(dir + L"\\held.bin", CFile::modeRead | CFile::shareDenyNone, &error));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, error.m_lOsError);
    writer.Close();

    // The opening constructor throws, catchable as CException*.
    LONG thrownError = 0;
    try {
        CFile g(dir + L"\\missing.bin", CFile::modeRead);
        ADD_FAILURE() << "no exception";
    } catch (CException* e) {
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(CFileException)));
        thrownError = static_cast<CFileException*>(e)->m_lOsError;
        wchar_t text[256];
        EXPECT_TRUE(e->GetErrorMessage(text, 256));
        e->Delete();
    }
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, thrownError);

    // Remove of a missing file throws with the code too.
    try {
        CFile::Remove(dir + L"\\missing.bin");
        ADD_FAILURE() << "no exception";
    } catch (CFileException* e) {
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, e->m_lOsError);
        e->Delete();
    }
}

TEST(Time, FieldsFormatAndSpans)
{
    CTime t(2024, 2, 29, 13, 5, 9);
    EXPECT_EQ(2024, t.GetYear());
    EXPECT_EQ(2, t.GetMonth());
    EXPECT_EQ(29, t.GetDay());
    EXPECT_EQ(13, t.GetHour());
    EXPECT_EQ(5, t.GetMinute());
    EXPECT_EQ(9, t.GetSecond());
    EXPECT_EQ(5, t.GetDayOfWeek()); // a Thursday (1 = Sunday)
    EXPECT_STREQ(L"2024-02-29 13:05:09", t.Format(L"%Y-%m-%d %H:%M:%S"));

    CTime later(2024, 3, 1, 14, 6, 10);
    CTimeSpan span = later - t;
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(1, span.GetHours());
    EXPECT_EQ(1, span.GetMinutes());
    EXPECT_EQ(1, span.GetSeconds());
    EXPECT_EQ(t + span, later);

    SYSTEMTIME st;
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(CTime(st), t);

    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const CTime now = CTime::GetCurrentTime();
    EXPECT_LE((CTime(ft) - now).GetTotalSeconds() < 0 ? (now - CTime(ft)).GetTotalSeconds()
                                                      : (CTime(ft) - now).GetTotalSeconds(),
              2);
    EXPECT_STREQ(L"1970-01-01 00:00", CTime(0).FormatGmt(L"%Y-%m-%d %H:%M"));
}

} // namespace
