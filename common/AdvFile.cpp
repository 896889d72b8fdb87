#include "common/AdvFile.h"

#include "common/AppFolder.h"
#include "common/FileUtils.h"
#include "common/PathUtils.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

const DWORD kInvalidPosition = 0xFFFFFFFF;
const DWORD kLineChunkBytes = 200;

CString FromAnsi(const char* bytes, int n)
{
    if (n <= 0)
        return CString();
    const int units = MultiByteToWideChar(CP_ACP, 0, bytes, n, nullptr, 0);
    if (units <= 0)
        return CString();
    std::vector<wchar_t> wide(units);
    MultiByteToWideChar(CP_ACP, 0, bytes, n, wide.data(), units);
    return CString(wide.data(), units);
}

} // namespace

CAdvFile::~CAdvFile()
{
    Close();
}

bool CAdvFile::Open(LPCWSTR path, DWORD access, DWORD shareMode, bool skipBom)
{
    if (!path)
        return false;
    Close();
    m_handle = CreateFileW(path, access, shareMode, nullptr, OPEN_EXISTING, 0, nullptr);
    if (!IsOpen())
        return false;
    m_failed = false;
    if (GetSize() >= 2) {
        BYTE mark[2] = {};
        DWORD got = 0;
        m_unicode = Read(mark, 2, &got) && got == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
        SeekBegin(m_unicode && skipBom ? 2 : 0);
    }
    return true;
}

bool CAdvFile::OpenRead(LPCWSTR path, bool skipBom)
{
    return Open(path, GENERIC_READ, FILE_SHARE_READ, skipBom);
}

bool CAdvFile::OpenReadInProgramFolder(LPCWSTR name, bool skipBom)
{
    if (!name)
        return false;
    return OpenRead(JoinPath(GetAppFolder(), name), skipBom);
}

bool CAdvFile::OpenReadWrite(LPCWSTR path)
{
    return Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, true);
}

bool CAdvFile::Create(LPCWSTR path)
{
    if (!path || IsOpen())
        return false;
    m_handle = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (IsOpen())
        m_failed = false;
    return IsOpen();
}

void CAdvFile::Close()
{
    if (IsOpen())
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

ULONGLONG CAdvFile::GetSize() const
{
    if (!IsOpen())
        return 0;
    const DWORD size = GetFileSize(m_handle, nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

ULONGLONG CAdvFile::Tell() const
{
    if (!IsOpen())
        return kInvalidPosition;
    return SetFilePointer(m_handle, 0, nullptr, FILE_CURRENT);
}

ULONGLONG CAdvFile::Seek(LONGLONG offset, DWORD method)
{
    if (!IsOpen() || offset >= static_cast<LONGLONG>(kInvalidPosition))
        return kInvalidPosition;
    return SetFilePointer(m_handle, static_cast<LONG>(offset), nullptr, method);
}

ULONGLONG CAdvFile::SeekBack(LONGLONG n)
{
    const ULONGLONG position = Tell();
    if (position == kInvalidPosition)
        return kInvalidPosition;
    return SeekBegin(static_cast<LONGLONG>(position) - n);
}

bool CAdvFile::Truncate()
{
    return IsOpen() && TruncateFileAt(m_handle, 0);
}

bool CAdvFile::Read(void* buffer, DWORD n, DWORD* got)
{
    if (!buffer || n == 0 || !IsOpen())
        return false;
    DWORD read = 0;
    const BOOL ok = ReadFile(m_handle, buffer, n, &read, nullptr);
    if (got) {
        *got = read;
        return ok != FALSE;
    }
    return ok && read == n;
}

bool CAdvFile::Write(const void* buffer, DWORD n)
{
    if (!buffer || n == 0 || !IsOpen())
        return false;
    DWORD written = 0;
    return WriteFile(m_handle, buffer, n, &written, nullptr) && written == n;
}

CString CAdvFile::ReadString(DWORD n)
{
    if (n == 0)
        return CString();
    std::vector<char> bytes(size_t(n) + 1, 0);
    DWORD got = 0;
    if (!Read(bytes.data(), n, &got))
        return CString();
    // The text ends at its first zero byte, as a C string would.
    return FromAnsi(bytes.data(), static_cast<int>(strlen(bytes.data())));
}

CString CAdvFile::ReadPascalStringA()
{
    BYTE length = 0;
    ReadByte(length);
    const ULONGLONG position = Tell();
    const ULONGLONG size = GetSize();
    if (position == kInvalidPosition || position > size || length > size - position)
        return CString();
    return ReadString(length);
}

bool CAdvFile::Match(LPCWSTR text)
{
    if (!text || !*text)
        return false;
    const DWORD n = static_cast<DWORD>(wcslen(text) * sizeof(wchar_t));
    std::vector<BYTE> bytes(n);
    return Read(bytes.data(), n) && memcmp(bytes.data(), text, n) == 0;
}

bool CAdvFile::Match(LPCSTR text)
{
    if (!text || !*text)
        return false;
    const DWORD n = static_cast<DWORD>(strlen(text));
    std::vector<BYTE> bytes(n);
    return Read(bytes.data(), n) && memcmp(bytes.data(), text, n) == 0;
}

bool CAdvFile::WriteText(LPCWSTR text)
{
    if (!text)
        return false;
    const size_t units = wcslen(text);
    if (units == 0)
        return IsOpen();
    return Write(text, static_cast<DWORD>(units * sizeof(wchar_t)));
}

CAdvFile& CAdvFile::operator<<(LPCWSTR text)
{
    if (!m_failed && !WriteText(text))
        m_failed = true;
    return *this;
}

bool CAdvFile::WriteLine(LPCWSTR text)
{
    const bool ok = WriteText(text);
    return WriteText(L"\r\n") && ok;
}

bool CAdvFile::WriteBOM()
{
    const BYTE mark[2] = {0xFF, 0xFE};
    return Write(mark, 2);
}

bool CAdvFile::ReadLine(CString& line)
{
    if (!IsOpen())
        return false;
    line.Empty();
    const DWORD unit = m_unicode ? 2 : 1;
    std::wstring wide;  // the line so far, UTF-16 form
    std::string narrow; // the line so far, ANSI form (converted at the end)
    auto append = [&](const BYTE* data, DWORD units) {
        if (m_unicode) {
            const size_t old = wide.size();
            wide.resize(old + units);
            memcpy(&wide[old], data, size_t(units) * 2);
        } else {
            narrow.append(reinterpret_cast<const char*>(data), units);
        }
    };
    auto finish = [&]() {
        line = m_unicode ? CString(wide.c_str(), static_cast<int>(wide.size()))
                         : FromAnsi(narrow.data(), static_cast<int>(narrow.size()));
    };

    int state = 0;  // 0 nothing read, 1 text read, 2 line ended
    int breaks = 0; // break characters taken into the line ending
    BYTE chunk[kLineChunkBytes];
    for (;;) {
        const ULONGLONG position = Tell();
        DWORD got = 0;
        // A trailing odd byte of a UTF-16 file is no code unit: it ends the text.
        if (!Read(chunk, kLineChunkBytes, &got) || got / unit == 0) {
            finish();
            return state != 0;
        }
        const DWORD units = got / unit;
        for (DWORD i = 0; i < units; ++i) {
            const unsigned c = m_unicode ? unsigned(chunk[2 * i] | (chunk[2 * i + 1] << 8)) : unsigned(chunk[i]);
            const bool isBreak = c == 13 || c == 10;
            if (state != 2) {
                if (isBreak) {
                    append(chunk, i);
                    state = 2;
                    breaks = 1;
                }
            } else if (!isBreak || breaks == 2) {
                SeekBegin(static_cast<LONGLONG>(position + ULONGLONG(i) * unit));
                finish();
                return true;
            } else {
                ++breaks;
            }
        }
        if (state != 2) {
            append(chunk, units);
            state = 1;
        }
        // In state 2 the chunk ended in breaks: the ending may go on.
    }
}

void CAdvFile::ReadExactly(void* buffer, DWORD n)
{
    DWORD got = 0;
    if (!IsOpen()) {
        throw SException{ERROR_INVALID_HANDLE};
    }
    if (!ReadFile(m_handle, buffer, n, &got, nullptr))
        throw SException{GetLastError()};
    if (got != n)
        throw SException{ERROR_HANDLE_EOF};
}

void CAdvFile::ReadDWord(DWORD& value)
{
    BYTE b[4];
    ReadExactly(b, 4);
    if (m_swapBytes)
        value = (DWORD(b[0]) << 24) | (DWORD(b[1]) << 16) | (DWORD(b[2]) << 8) | b[3];
    else
        value = (DWORD(b[3]) << 24) | (DWORD(b[2]) << 16) | (DWORD(b[1]) << 8) | b[0];
}

void CAdvFile::ReadByte(BYTE& value)
{
    ReadExactly(&value, 1);
}

void CAdvFile::ReadRect(RECT& rect)
{
    DWORD v[4];
    for (DWORD& d : v)
        ReadDWord(d);
    rect.left = static_cast<LONG>(v[0]);
    rect.top = static_cast<LONG>(v[1]);
    rect.right = static_cast<LONG>(v[2]);
    rect.bottom = static_cast<LONG>(v[3]);
}
