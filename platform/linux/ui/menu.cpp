// CMenu: the items a program appends to a window's system menu.
#include "platform/linux/ui/handles.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    if (m_hMenu == nullptr)
        return FALSE;
    const bool separator = (nFlags & MF_SEPARATOR) != 0;
    m_hMenu->items.push_back({nFlags, separator ? 0 : nIDNewItem,
                              separator || lpszNewItem == nullptr ? L"" : lpszNewItem});
    return TRUE;
}
