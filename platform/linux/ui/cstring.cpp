// CString::LoadString from the program's string table.
#include "platform/framework.h"
#include "platform/linux/resources.h"

BOOL CString::LoadString(UINT nID) {
    const wchar_t* text = FindResourceString(nID);
    if (text == nullptr)
        return FALSE;
    m_str = text;
    return TRUE;
}
