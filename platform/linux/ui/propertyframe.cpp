// OleCreatePropertyFrame on Linux. No page class is known here yet, so no
// frame can be shown: the caller gets the status the system gives for a
// class it cannot create, and shows its message.
#include "platform/propertypages.h"

HRESULT OleCreatePropertyFrame(HWND, UINT, UINT, LPCOLESTR, ULONG, LPUNKNOWN*, ULONG, LPCLSID, LCID,
                               DWORD, LPVOID) {
    return REGDB_E_CLASSNOTREG;
}
