// GetPrivateProfileStringW on Linux: finds and reads the file as the writer
// does, asks the editor's parser, and fits the answer into the caller's
// buffer the way Windows' reader does, quotes, truncation and lists
// included.
#include "platform/linux/profile/readprofile.h"

#include "platform/linux/profile/profileeditor.h"
#include "platform/linux/profile/profileencoding.h"
#include "platform/linux/profile/profilepath.h"
#include "platform/linux/profile/profilestore.h"
#include "platform/linux/profile/writeprofile.h"
#include "platform/profilefile.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace profile {

namespace {

template <class C> bool ToUnits(const std::wstring& wide, std::basic_string<C>& out) {
    if constexpr (sizeof(C) == 1)
        return WideToUtf8(wide.c_str(), out);
    else
        return WideToUtf16(wide.c_str(), out);
}

std::wstring Trimmed(LPCWSTR text) {
    std::wstring s(text);
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && IsQueryBlank(s[begin]))
        ++begin;
    while (end > begin && IsQueryBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

// An empty file has no sections at all, not even the nameless one at the
// top that any other file has.
template <class C>
void Ask(const std::basic_string<C>& units, bool empty, LPCWSTR section, LPCWSTR key,
         CProfileAnswer& answer) {
    using Query = CProfileQuery<C>;
    std::vector<typename Query::View> names;
    std::basic_string<C> sectionName;
    std::basic_string<C> keyName;
    if (!section) {
        Query::Sections(units, names);
        answer.m_found = true;
    } else if (!key) {
        answer.m_found =
            !empty && ToUnits(section, sectionName) && Query::Keys(units, sectionName, names);
    } else {
        typename Query::View value;
        answer.m_found = ToUnits(Trimmed(section), sectionName) && ToUnits(Trimmed(key), keyName) &&
                         Query::Value(units, sectionName, keyName, value);
        if (answer.m_found)
            answer.m_value = UnitsToWide(value);
    }
    for (const auto& name : names)
        answer.m_names.push_back(UnitsToWide(name));
}

// Copies at most size - 1 characters and the NUL; returns the count copied.
DWORD CopyTruncated(const std::wstring& text, LPWSTR buffer, DWORD size) {
    const size_t n = std::min<size_t>(text.size(), size - 1);
    std::wmemcpy(buffer, text.data(), n);
    buffer[n] = L'\0';
    return DWORD(n);
}

// A value between a pair of single or double quotes comes back without
// them. When the buffer is one short of the unquoted value, the reader
// still drops the last character it copied; this keeps that.
DWORD CopyValue(const std::wstring& value, LPWSTR buffer, DWORD size) {
    const bool quoted =
        value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0];
    if (!quoted)
        return CopyTruncated(value, buffer, size);
    const std::wstring inner = value.substr(1);
    DWORD n = CopyTruncated(inner, buffer, size);
    if (size >= inner.size() && n > 0)
        buffer[--n] = L'\0';
    return n;
}

// The key names of a section: each NUL-terminated, the list ended by one
// more NUL. What does not fit is cut, ends with two NULs and returns size - 2.
DWORD CopyKeyList(const std::vector<std::wstring>& names, LPWSTR buffer, DWORD size) {
    size_t at = 0;
    DWORD left = size;
    for (const std::wstring& name : names) {
        if (left <= 2)
            break;
        at += CopyTruncated(name, buffer + at, left - 1) + 1;
        left = size - DWORD(at);
        if (left < 2)
            break;
    }
    buffer[at] = L'\0';
    if (left <= 1) {
        if (at > 0)
            buffer[at - 1] = L'\0';
        return size >= 2 ? size - 2 : 0;
    }
    return DWORD(at);
}

// The section names: the same list, cut the same way when it does not fit.
DWORD CopySectionList(const std::vector<std::wstring>& names, LPWSTR buffer, DWORD size) {
    if (size == 1) {
        buffer[0] = L'\0';
        return 0;
    }
    size_t at = 0;
    for (const std::wstring& name : names) {
        const size_t left = size - 1 - at;
        if (name.size() + 1 >= left) {
            if (left > 0) {
                std::wmemcpy(buffer + at, name.data(), left - 1);
                at += left - 1;
                buffer[at++] = L'\0';
            }
            buffer[at] = L'\0';
            return size - 2;
        }
        std::wmemcpy(buffer + at, name.data(), name.size());
        at += name.size();
        buffer[at++] = L'\0';
    }
    buffer[at] = L'\0';
    return DWORD(at);
}

// For a value, trailing spaces of the default are dropped, all but its
// first character; the key names' default is taken as it is.
std::wstring DefaultValue(LPCWSTR def, bool forValue) {
    std::wstring value = def ? def : L"";
    while (forValue && value.size() > 1 && value.back() == L' ')
        value.pop_back();
    return value;
}

} // namespace

DWORD ReadProfile(LPCWSTR section, LPCWSTR key, LPCWSTR path, size_t maxFileSize,
                  CProfileAnswer& answer) {
    answer = CProfileAnswer();
    std::string path8;
    if (!path || !WideToUtf8(path, path8) || path8.empty())
        return ERROR_INVALID_PARAMETER;
    CProfileTarget target;
    DWORD err = ResolveProfilePath(path8, target);
    if (err == ERROR_SUCCESS)
        err = LockDirectory(target.m_dir.Get(), true);
    CProfileFile file;
    if (err == ERROR_SUCCESS)
        err = ReadProfileFile(target.m_dir.Get(), target.m_name, maxFileSize, file);
    CProfileText text;
    if (err == ERROR_SUCCESS)
        err = DecodeProfileText(std::move(file.m_raw), text);
    if (err != ERROR_SUCCESS)
        return err;
    answer.m_fileExists = file.m_exists;
    const bool empty = text.m_encoding == EProfileEncoding::Plain && text.m_bytes.empty();
    if (IsUtf16(text.m_encoding))
        Ask(text.m_units, empty, section, key, answer);
    else
        Ask(text.m_bytes, empty, section, key, answer);
    return ERROR_SUCCESS;
}

} // namespace profile

DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
                               LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName) {
    if (!lpReturnedString || nSize == 0)
        return 0;
    const std::wstring def = profile::DefaultValue(lpDefault, lpKeyName != nullptr);
    profile::CProfileAnswer answer;
    const DWORD err = profile::ReadProfile(lpAppName, lpKeyName, lpFileName,
                                           profile::kMaxProfileReadSize, answer);
    // A file that cannot be opened (a directory, say) leaves the section
    // names' buffer alone and gives a value's default as it is; a key
    // list's default loses its quotes, as it does after an empty list.
    if (err != ERROR_SUCCESS) {
        SetLastError(err);
        if (!lpAppName)
            return 0;
        if (!lpKeyName)
            return profile::CopyValue(def, lpReturnedString, nSize);
        return profile::CopyTruncated(def, lpReturnedString, nSize);
    }
    // A missing file reads as an empty one; the open's error stays.
    SetLastError(answer.m_fileExists ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
    if (!lpAppName)
        return profile::CopySectionList(answer.m_names, lpReturnedString, nSize);
    if (lpKeyName)
        return profile::CopyValue(answer.m_found ? answer.m_value : def, lpReturnedString, nSize);
    DWORD n = 0;
    if (answer.m_found)
        n = profile::CopyKeyList(answer.m_names, lpReturnedString, nSize);
    else // no such section: an empty list, ended by its two NULs
        std::wmemset(lpReturnedString, L'\0', std::min<DWORD>(nSize, 2));
    // An empty list, or none, gives the default in its place.
    if (lpReturnedString[0] == L'\0')
        n = profile::CopyValue(def, lpReturnedString, nSize);
    return n;
}
