#pragma once
// CObject with run-time class information, and the exception family.
//
// Run-time class: a class that wants IsKindOf puts DECLARE_DYNAMIC(CMyClass)
// in its declaration and IMPLEMENT_DYNAMIC(CMyClass, CBase) in one .cpp
// (DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE add CreateObject for classes with
// a default constructor). RUNTIME_CLASS(CMyClass) names its record.
//
// Exceptions are thrown as heap pointers and deleted by the catcher:
//     try { ... } catch (CException* e) { e->Delete(); }
#include <windows.h>
#include "platform/mfc/afxstr.h"

class CObject;
class CArchive;

struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)(); // null unless the class is DYNCREATE
    CRuntimeClass* m_pBaseClass;     // null for CObject

    CObject* CreateObject() const; // null when the class can't be created
    [[nodiscard]] BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
public: \
    static CRuntimeClass class##class_name; \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name) \
    static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_name, create) \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), create, \
                                                   RUNTIME_CLASS(base_name)}; \
    CRuntimeClass* class_name::GetRuntimeClass() const \
    { \
        return RUNTIME_CLASS(class_name); \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_name) AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name) \
    CObject* class_name::CreateObject() \
    { \
        return new class_name; \
    } \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_name, &class_name::CreateObject)

class CObject
{
public:
    static CRuntimeClass classCObject;
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    // Stores the object into, or loads it from, the archive (its mode
    // says which). Nothing here: a class with data to keep overrides it.
    virtual void Serialize(CArchive& ar);

    [[nodiscard]] BOOL IsKindOf(const CRuntimeClass* pClass) const;

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    CObject() = default;
};

// ---- exceptions ---------------------------------------------------------

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    // bAutoDelete FALSE marks a static object that Delete() leaves alone.
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    // The catcher's way to end the exception's life.
    void Delete();
    // A readable text; FALSE when the exception has none.
    [[nodiscard]] virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
    // Shows GetErrorMessage (or string nMessageID) in a message box.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

protected:
    BOOL m_bAutoDelete;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    [[nodiscard]] BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

class CInvalidArgException : public CException
{
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    [[nodiscard]] BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszArchiveName = nullptr)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName)
    {
    }

    // The cause that matches a Windows error code (GetLastError).
    static int OsErrorToException(LONG lOsError);

    [[nodiscard]] BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError; // the Windows error code, -1 when none
    CString m_strFileName;
};

[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCWSTR lpszFileName = nullptr);
