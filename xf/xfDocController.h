#pragma once
// A controller with a document: a path, a title made from it, a modified
// flag, a type name and file extensions, with the Open, Save and Save As
// commands and their file dialogs. The application supplies the reading
// (OpenDocument) and writing (SaveDocument).
#include <vector>
#include "xf/xfController.h"

class CxfDocController : public CxfController
{
    DECLARE_DYNAMIC(CxfDocController)
public:
    CxfDocController();

    // Reads the document at path; request may be null (the Open command).
    virtual bool OpenDocument(LPCWSTR path, SxfContext* request) = 0;
    // Writes the document to path; false when it could not.
    virtual bool SaveDocument(LPCWSTR path);

    CString GetTitle() override;
    // False for a null request; true without opening for an empty path;
    // otherwise OpenDocument, taking the path when it succeeds.
    bool Open(SxfContext* request) override;

    // extensions: "wav/mp3" (split at every "/" and "\"). Nothing when either
    // argument is null.
    void SetTypeInfo(LPCWSTR extensions, LPCWSTR typeName);
    // Stores the path and its file name as title; the host window's caption
    // becomes "<title> - <product>".
    void SetPathName(LPCWSTR path);
    const CString& GetPathName() const { return m_strPath; }
    bool HasPath() const { return !m_strPath.IsEmpty(); }
    bool IsModified() const { return m_bModified; }
    void SetModified(bool modified);
    const std::vector<CString>& GetExtensions() const { return m_extensions; }

    // Writes the document: in place when it has a path with the save
    // extension (the first one) and saveAs is false, else to a path the user
    // picks. The document takes a picked path only once it was written there.
    // False when there was nothing to save, the dialog was cancelled or the
    // write failed.
    bool Save(bool saveAs);

    // Command handlers (Open, Save, Save As).
    bool OnOpenCommand();
    bool OnSave() { return Save(false); }
    bool OnSaveAs() { return Save(true); }

    // The host window's caption follows the active document; a closed
    // document's name leaves it.
    void OnActivate(bool active) override;
    void OnStop() override;

protected:
    CString GetHostCaption() const;
    void ShowTitleInHost();
    void OnUpdateAlwaysEnabled(CCmdUI* cmdUI);
    void OnUpdateSave(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()

    CString m_strTypeName;
    CString m_strPath;
    CString m_strTitle;
    bool m_bModified = false;
    std::vector<CString> m_extensions;
    HWND m_hCaptionHost = nullptr; // the window whose caption names this document
};
