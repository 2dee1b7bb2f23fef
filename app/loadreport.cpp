// The texts of the restore's box: a line per property that was not applied,
// with its reason, and whether anything on the camera was changed.
#include "app/loadreport.h"

#include "res/resource.h"

#include <cwchar>

namespace {

std::wstring Text(UINT nID) {
    CString text;
    text.LoadString(nID);
    return static_cast<LPCTSTR>(text);
}

// The property's name as the user knows it.
std::wstring PropertyName(const FileProperty& property) {
    static const struct {
        const wchar_t* section;
        UINT nID;
    } kNames[] = {
        {L"BRIGHTNESS", IDS_PROPERTY_BRIGHTNESS},
        {L"CONTRAST", IDS_PROPERTY_CONTRAST},
        {L"HUE", IDS_PROPERTY_HUE},
        {L"SATURATION", IDS_PROPERTY_SATURATION},
        {L"SHARPNESS", IDS_PROPERTY_SHARPNESS},
        {L"COLORENABLE", IDS_PROPERTY_COLORENABLE},
        {L"WHITEBALANCE", IDS_PROPERTY_WHITEBALANCE},
        {L"EXPOSURE", IDS_PROPERTY_EXPOSURE},
    };
    for (const auto& name : kNames)
        if (std::wcscmp(name.section, property.row.section) == 0)
            return Text(name.nID);
    return property.row.section;
}

// Why a property was not applied; 0 for one that was (or is in place).
UINT Reason(PropertyOutcome outcome) {
    switch (outcome) {
    case PropertyOutcome::SkippedEmpty:
        return IDS_REASON_EMPTY;
    case PropertyOutcome::SkippedAbsent:
        return IDS_REASON_ABSENT;
    case PropertyOutcome::BadNumber:
        return IDS_REASON_BAD_NUMBER;
    case PropertyOutcome::OutOfRange:
        return IDS_REASON_OUT_OF_RANGE;
    case PropertyOutcome::RangeDiffers:
        return IDS_REASON_RANGE_DIFFERS;
    case PropertyOutcome::NotOnCamera:
        return IDS_REASON_NOT_ON_CAMERA;
    case PropertyOutcome::Refused:
        return IDS_REASON_REFUSED;
    case PropertyOutcome::Differs:
    case PropertyOutcome::NotTaken:
        return IDS_REASON_NOT_TAKEN;
    case PropertyOutcome::InPlace:
    case PropertyOutcome::Written:
    case PropertyOutcome::DeviceGone:
        break;
    }
    return 0;
}

// String-table entry nID with %1 and %2 replaced by first and second, in one
// pass, so an argument that holds "%2" stays as it is.
std::wstring FormatResourceString(UINT nID, const std::wstring& first,
                                  const std::wstring& second = std::wstring()) {
    const std::wstring format = Text(nID);
    std::wstring text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size() &&
            (format[i + 1] == L'1' || format[i + 1] == L'2')) {
            text += format[++i] == L'1' ? first : second;
            continue;
        }
        text += format[i];
    }
    return text;
}

} // namespace

LoadReport MakeLoadReport(RestoreOutcome outcome, const std::vector<PropertyResult>& results) {
    LoadReport report;
    std::wstring lines, written;
    bool shortfall = false;
    for (const PropertyResult& result : results) {
        if (result.outcome == PropertyOutcome::Written)
            written +=
                (written.empty() ? L"" : Text(IDS_LIST_SEPARATOR)) + PropertyName(*result.file);
        shortfall = shortfall || IsShortfall(result.outcome);
        // Skipped ones too: the file has nothing for them, which the user
        // may not know.
        if (const UINT reason = Reason(result.outcome))
            lines += L"\n " +
                     FormatResourceString(IDS_LOAD_LINE, PropertyName(*result.file), Text(reason));
    }
    if (outcome == RestoreOutcome::DeviceGone && !results.empty()) {
        report.text = FormatResourceString(IDS_LOAD_LEFT, PropertyName(*results.back().file));
        report.nType = MB_OK | MB_ICONERROR;
    } else if (!shortfall) {
        report.text = Text(IDS_LOAD_DONE) + lines;
        report.nType = MB_OK | MB_ICONINFORMATION;
    } else {
        report.text = Text(IDS_LOAD_PARTIAL) + lines;
        report.nType = MB_OK | MB_ICONWARNING;
    }
    report.text += L"\n " + (written.empty() ? Text(IDS_LOAD_UNCHANGED)
                                             : FormatResourceString(IDS_LOAD_CHANGED, written));
    return report;
}
