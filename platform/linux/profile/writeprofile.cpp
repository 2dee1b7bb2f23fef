// WritePrivateProfileStringW on Linux: checks the request, finds and locks
// the file, edits its text in the file's own encoding and replaces it only
// when something changed.
#include "platform/linux/profile/writeprofile.h"

#include "platform/linux/profile/profilecontent.h"
#include "platform/linux/profile/profileeditor.h"
#include "platform/linux/profile/profileencoding.h"
#include "platform/linux/profile/profilepath.h"
#include "platform/linux/profile/profilestore.h"
#include "platform/linux/profile/profilesync.h"
#include "platform/profilefile.h"

#include <cwchar>
#include <sys/stat.h>
#include <string>
#include <utility>

namespace profile {

namespace {

// Writers may race a third party renaming the file between lookup and lock;
// a few rounds settle that, an endless stream of renames gets an error.
constexpr int kMaxLockRounds = 8;

std::wstring TrimBlanks(LPCWSTR text) {
    std::wstring s(text);
    size_t begin = 0;
    while (begin < s.size() && IsProfileBlank(s[begin]))
        ++begin;
    size_t end = s.size();
    while (end > begin && IsProfileBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

// Text that would end a line, or a name that would not read back as the same
// name, could only turn into lines the next write never finds again.
bool IsWritable(const std::wstring& section, LPCWSTR key, LPCWSTR value) {
    if (section.find_first_of(L"\r\n]") != std::wstring::npos)
        return false;
    if (key) {
        std::wstring name = TrimBlanks(key);
        if (name.find_first_of(L"\r\n=") != std::wstring::npos)
            return false;
        if (!name.empty() && (name[0] == L';' || name[0] == L'['))
            return false;
    }
    // Without a key the value is not looked at: the section goes.
    return !key || !value || !std::wcspbrk(value, L"\r\n");
}

bool SameTarget(const CProfileTarget& a, const CProfileTarget& b) {
    struct stat sa;
    struct stat sb;
    return a.m_name == b.m_name && fstat(a.m_dir.Get(), &sa) == 0 &&
           fstat(b.m_dir.Get(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Looks the path up again once locked: another writer may have created the
// file under a differently cased name while this one waited.
DWORD LockTarget(const std::string& path, CProfileTarget& target) {
    for (int round = 0; round < kMaxLockRounds; ++round) {
        CProfileTarget first;
        DWORD err = ResolveProfilePath(path, first);
        if (err == ERROR_SUCCESS)
            err = LockDirectory(first.m_dir.Get());
        if (err != ERROR_SUCCESS)
            return err;
        CProfileTarget again;
        err = ResolveProfilePath(path, again);
        if (err != ERROR_SUCCESS)
            return err;
        if (SameTarget(first, again)) {
            target = std::move(first);
            return ERROR_SUCCESS;
        }
    }
    return ERROR_SHARING_VIOLATION;
}

} // namespace

DWORD WriteProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path,
                         size_t maxFileSize) {
    if (!section || !path)
        return ERROR_INVALID_PARAMETER;
    const std::wstring sectionName = TrimBlanks(section);
    std::string path8;
    if (!IsWritable(sectionName, key, value) || !WideToUtf8(path, path8) || path8.empty())
        return ERROR_INVALID_PARAMETER;
    const std::wstring keyName = key ? TrimBlanks(key) : std::wstring();
    // Windows looks up the names of a removal as given: with blanks around
    // them they name nothing in the file, and nothing is removed.
    if ((!key || !value) && (sectionName != section || (key && keyName != key)))
        return ERROR_SUCCESS;

    CProfileTarget target;
    DWORD err = LockTarget(path8, target);
    if (err != ERROR_SUCCESS)
        return err;
    const int dirFd = target.m_dir.Get();
    RemoveStaleTemporary(dirFd, target.m_name);

    CProfileFile file;
    err = ReadProfileFile(dirFd, target.m_name, maxFileSize, file);
    CProfileText text;
    if (err == ERROR_SUCCESS)
        err = DecodeProfileText(std::move(file.m_raw), text);
    if (err != ERROR_SUCCESS)
        return err;

    bool changed = false;
    CNewContent content;
    err = content.Edit(text, sectionName.c_str(), key ? keyName.c_str() : nullptr, value, changed);
    if (err != ERROR_SUCCESS || !changed)
        return err;
    return ReplaceProfileFile(dirFd, target.m_name, content.Pieces(), file);
}

} // namespace profile

BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString,
                                LPCWSTR lpFileName) {
    // The flush request. Windows answers it with FALSE even when it works,
    // leaving ERROR_SUCCESS as the last error; callers tell by that.
    if (!lpAppName && !lpKeyName && !lpString) {
        SetLastError(profile::FlushPendingDirectories());
        return FALSE;
    }
    DWORD err = profile::WriteProfileString(lpAppName, lpKeyName, lpString, lpFileName,
                                            profile::kMaxProfileFileSize);
    if (err != ERROR_SUCCESS) {
        SetLastError(err);
        return FALSE;
    }
    return TRUE;
}
