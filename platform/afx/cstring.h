// CString: the framework's owned text, reduced to what the program uses.
// Texts are wide strings, as everywhere in the program.
#pragma once

#include "platform/wintypes.h"

#include <string>

class CString {
public:
    CString() = default;
    CString(LPCTSTR psz) : m_str(psz != nullptr ? psz : L"") {}

    // Replaces the text with string-table entry nID; FALSE (text unchanged)
    // when there is no such entry.
    BOOL LoadString(UINT nID);

    BOOL IsEmpty() const { return m_str.empty(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    operator LPCTSTR() const { return m_str.c_str(); }

private:
    std::wstring m_str;
};
