// OleCreatePropertyFrame on Linux: the frame with the pages it knows by
// class, for the first object (the one camera a caller sets up). Classes it
// does not know are left out; with none it knows, it shows nothing.
#include "platform/propertypages.h"

#include "platform/linux/ui/propertyframedlg.h"

#include <QApplication>

#include <string>

HRESULT OleCreatePropertyFrame(HWND hwndOwner, UINT, UINT, LPCOLESTR lpszCaption, ULONG cObjects,
                               LPUNKNOWN* ppUnk, ULONG cPages, LPCLSID pPageClsID, LCID, DWORD,
                               LPVOID) {
    if (cObjects == 0 || ppUnk == nullptr || ppUnk[0] == nullptr ||
        (cPages > 0 && pPageClsID == nullptr))
        return E_INVALIDARG;
    CWnd owner;
    owner.m_hWnd = hwndOwner;
    CPropertyFrameDlg frame(&owner, lpszCaption != nullptr ? lpszCaption : L"");
    for (ULONG i = 0; i < cPages; ++i) {
        const CPageClass* pageClass = FindPageClass(pPageClsID[i]);
        if (pageClass == nullptr)
            continue;
        CPropertyAccess access(ppUnk[0], *pageClass->iid);
        if (access.Valid())
            frame.AddPage(*pageClass, access);
    }
    if (frame.PageCount() == 0)
        return REGDB_E_CLASSNOTREG; // as for a page class nobody registered
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return E_UNEXPECTED;
    const INT_PTR result = frame.DoModal();
    owner.m_hWnd = nullptr;
    if (result == -1)
        return frame.OpenResult() != S_OK ? frame.OpenResult() : E_FAIL;
    return S_OK;
}
