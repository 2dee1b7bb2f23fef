// Property pages: a filter names the pages that set it up
// (ISpecifyPropertyPages), and the system shows them in a modal frame
// (OleCreatePropertyFrame). On Windows the SDK provides both and the pages
// are the driver's own; elsewhere this header declares them with the SDK's
// names and signatures, and the platform provides the frame and the pages
// of its own cameras.
#pragma once

#include "platform/afx/winshapes.h"
#include "platform/com.h"

#ifdef _WIN32
#include <ocidl.h>
#include <olectl.h>
#else

extern "C" const IID IID_ISpecifyPropertyPages;

typedef CLSID* LPCLSID;
typedef DWORD LCID;

// A counted array of GUIDs; pElems comes from CoTaskMemAlloc and the caller
// frees it with CoTaskMemFree.
struct CAUUID {
    ULONG cElems;
    GUID* pElems;
};

struct ISpecifyPropertyPages : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pPages) = 0;

protected:
    ~ISpecifyPropertyPages() = default;
};

// Shows the pages cPages/pPageClsID for the objects ppUnk in a frame that is
// modal to hwndOwner, captioned from lpszCaption, and returns when the user
// closes it (OK, Cancel, Esc or the close button alike).
HRESULT OleCreatePropertyFrame(HWND hwndOwner, UINT x, UINT y, LPCOLESTR lpszCaption,
                               ULONG cObjects, LPUNKNOWN* ppUnk, ULONG cPages, LPCLSID pPageClsID,
                               LCID lcid, DWORD dwReserved, LPVOID pvReserved);

#endif
