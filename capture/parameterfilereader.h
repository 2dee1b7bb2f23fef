// The parameter file read back for a restore: the [SYSTEM] PORT and the six
// numbers of each property section, each looked up the way every reader of
// profile files looks it up, through GetPrivateProfileStringW.
#pragma once

#include "capture/capturedevice.h"
#include "capture/paramfile.h"

#include <string>

enum class FileSectionState {
    Numbers,   // all six keys hold 32-bit numbers
    Empty,     // the section is there but holds no numbers (an unreadable property)
    Missing,   // no key of the section is in the file
    BadNumber, // some key holds something else, or only some keys hold numbers
};

struct FileProperty {
    paramfile::PropertyRow row;
    bool cameraControl = false; // read through IAMCameraControl, else IAMVideoProcAmp
    FileSectionState state = FileSectionState::Missing;
    const wchar_t* badKey = nullptr; // with BadNumber: the first key at fault
    std::wstring badText;            // and what it holds
    PropertyReading reading = {};    // with Numbers: the six values in key order
};

inline constexpr int kFilePropertyCount = 8;

struct ParameterFile {
    enum class Port { Missing, Number, BadNumber } port = Port::Missing;
    LONG portValue = 0;
    std::wstring portText;
    FileProperty properties[kFilePropertyCount];
    // What the profile call left in GetLastError() on its first lookup
    // (ERROR_ACCESS_DENIED for a file that cannot be read), for the message.
    DWORD readError = ERROR_SUCCESS;

    // A [SYSTEM] PORT or at least one property section: anything else is not
    // a parameter file (or no file at all).
    bool IsParameterFile() const;
};

// Reads path. A missing or unreadable file reads as one without sections.
void ReadParameterFile(LPCWSTR path, ParameterFile* file);

// Decimal as "%d" writes it: an optional minus sign and digits, within 32 bits.
bool ParseFileNumber(const std::wstring& text, LONG* value);
