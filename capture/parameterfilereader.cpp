// Reading the parameter file key by key. A key that is not in the file is
// told from a key with an empty value by a default no number can be.
#include "capture/parameterfilereader.h"

#include "platform/framework.h"
#include "platform/profilefile.h"

#include <iterator>

static_assert(std::size(paramfile::kProcAmpRows) + 1 == kFilePropertyCount,
              "the amplifier rows and exposure are the file's property sections");

namespace {

// Not a blank, so the profile call does not trim it, and not a number.
constexpr const wchar_t* kAbsent = L"\x7F";
// Room for any 32-bit number with a sign; a longer value fills the buffer
// and cannot be one.
constexpr DWORD kValueSize = 16;

enum class KeyState { Absent, Empty, Text };

KeyState ReadKey(LPCWSTR section, LPCWSTR key, LPCWSTR path, std::wstring* text) {
    wchar_t buffer[kValueSize] = {};
    const DWORD length = GetPrivateProfileStringW(section, key, kAbsent, buffer, kValueSize, path);
    text->assign(buffer, length < kValueSize ? length : kValueSize - 1);
    if (*text == kAbsent)
        return KeyState::Absent;
    if (length >= kValueSize - 1)
        text->append(L"...");
    return text->empty() ? KeyState::Empty : KeyState::Text;
}

void ReadSection(LPCWSTR path, FileProperty* property) {
    LONG* const values[paramfile::kPropertyKeyCount] = {
        &property->reading.lMin,           &property->reading.lMax,
        &property->reading.lSteppingDelta, &property->reading.lDefault,
        &property->reading.lCapsFlags,     &property->reading.lValue,
    };
    int absent = 0, empty = 0;
    for (int i = 0; i < paramfile::kPropertyKeyCount; ++i) {
        const wchar_t* key = paramfile::kPropertyKeys[i];
        std::wstring text;
        const KeyState state = ReadKey(property->row.section, key, path, &text);
        absent += state == KeyState::Absent;
        empty += state == KeyState::Empty;
        if (state == KeyState::Text && !ParseFileNumber(text, values[i]) &&
            property->badKey == nullptr) {
            property->badKey = key;
            property->badText = text;
        }
    }
    if (absent == paramfile::kPropertyKeyCount)
        property->state = FileSectionState::Missing;
    else if (absent + empty == paramfile::kPropertyKeyCount)
        property->state = FileSectionState::Empty;
    else if (property->badKey != nullptr || absent + empty > 0)
        property->state = FileSectionState::BadNumber;
    else
        property->state = FileSectionState::Numbers;
    // Some keys with numbers and some without: the first without is at fault.
    if (property->state == FileSectionState::BadNumber && property->badKey == nullptr) {
        for (const wchar_t* key : paramfile::kPropertyKeys) {
            std::wstring text;
            if (ReadKey(property->row.section, key, path, &text) != KeyState::Text) {
                property->badKey = key;
                break;
            }
        }
    }
}

} // namespace

bool ParseFileNumber(const std::wstring& text, LONG* value) {
    size_t i = text.size() > 1 && text[0] == L'-' ? 1 : 0;
    if (i == text.size())
        return false;
    long long number = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return false;
        number = number * 10 + (text[i] - L'0');
        if (number > 2147483648LL)
            return false;
    }
    if (text[0] == L'-')
        number = -number;
    if (number > 2147483647LL)
        return false;
    *value = static_cast<LONG>(number);
    return true;
}

bool ParameterFile::IsParameterFile() const {
    if (port != Port::Missing)
        return true;
    for (const FileProperty& property : properties)
        if (property.state != FileSectionState::Missing)
            return true;
    return false;
}

void ReadParameterFile(LPCWSTR path, ParameterFile* file) {
    *file = ParameterFile();
    SetLastError(ERROR_SUCCESS);
    std::wstring text;
    const KeyState port = ReadKey(paramfile::kSystemSection, paramfile::kPortKey, path, &text);
    file->readError = GetLastError();
    if (port != KeyState::Absent) {
        file->portText = text;
        file->port = ParseFileNumber(text, &file->portValue) ? ParameterFile::Port::Number
                                                             : ParameterFile::Port::BadNumber;
    }

    int next = 0;
    for (const paramfile::PropertyRow& row : paramfile::kProcAmpRows)
        file->properties[next++].row = row;
    file->properties[next].row = paramfile::kExposureRow;
    file->properties[next].cameraControl = true;
    for (FileProperty& property : file->properties)
        ReadSection(path, &property);
}
