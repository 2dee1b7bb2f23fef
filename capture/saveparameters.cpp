// The parameter dump behind the save button. Each key is its own profile
// write, so a run that stops part-way keeps what it wrote; a write that fails
// does not stop the run, but the run then reports the failure, whether or not
// it would have claimed success.
#include "capture/saveparameters.h"

#include "capture/paramfile.h"
#include "platform/framework.h"
#include "platform/profilefile.h"
#include "platform/resourcestring.h"

#include <string>

namespace {

class CParameterWriter {
public:
    void SetSection(const wchar_t* section) { m_section = section; }

    void Write(const wchar_t* key, const std::wstring& value) {
        m_wrote = true;
        if (!WritePrivateProfileStringW(m_section, key, value.c_str(), paramfile::kPath))
            m_failed = true;
    }

    // The six keys of a property section: numbers when the read succeeded,
    // otherwise the same keys with empty values.
    void WriteReading(const PropertyReading& reading, bool readable) {
        const LONG values[paramfile::kPropertyKeyCount] = {
            reading.lMin,     reading.lMax,       reading.lSteppingDelta,
            reading.lDefault, reading.lCapsFlags, reading.lValue,
        };
        for (int i = 0; i < paramfile::kPropertyKeyCount; ++i)
            Write(paramfile::kPropertyKeys[i],
                  readable ? paramfile::FormatValue(values[i]) : paramfile::kEmptyValue);
    }

    // The profile API's flush request, once the keys are written: on Windows
    // it writes back the system's cached copy of the file, on Linux it makes
    // the save's renames durable. It answers FALSE even when it works, so
    // only an error code left behind counts as a failure.
    void Flush() {
        if (!m_wrote)
            return;
        SetLastError(ERROR_SUCCESS);
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, paramfile::kPath);
        if (GetLastError() != ERROR_SUCCESS)
            m_failed = true;
    }

    bool Failed() const { return m_failed; }
    bool Wrote() const { return m_wrote; }

private:
    const wchar_t* m_section = L"";
    bool m_wrote = false;
    bool m_failed = false;
};

// Binds the device at position and writes its file. Returns true when
// exposure was read, which is when the run is complete.
bool WriteParameters(CCaptureDevice& device, int position, CParameterWriter& writer) {
    ComPtr<IBaseFilter>& filter = device.FilterSlot();
    if (device.BindDevice(position, filter.ReleaseAndGetAddressOf()) != S_OK)
        return false;

    ComPtr<IAMVideoProcAmp>& procAmp = device.ProcAmpSlot();
    procAmp.Release();
    if (!filter)
        return false;
    if (filter->QueryInterface(IID_IAMVideoProcAmp, procAmp.ReleaseAndGetAddressOfVoid()) != S_OK)
        return false;

    writer.SetSection(paramfile::kSystemSection);
    writer.Write(paramfile::kPortKey, paramfile::FormatValue(position));

    for (const paramfile::PropertyRow& row : paramfile::kProcAmpRows) {
        PropertyReading reading = {};
        writer.SetSection(row.section);
        const bool readable = device.ReadProcAmpProperty(row.property, &reading) == S_OK;
        writer.WriteReading(reading, readable);
    }

    ComPtr<IAMCameraControl>& cameraControl = device.CameraControlSlot();
    cameraControl.Release();
    if (!filter)
        return false;
    if (filter->QueryInterface(IID_IAMCameraControl, cameraControl.ReleaseAndGetAddressOfVoid()) !=
        S_OK)
        return false;

    writer.SetSection(paramfile::kExposureRow.section);
    PropertyReading reading = {};
    const bool readable =
        device.ReadCameraControlProperty(paramfile::kExposureRow.property, &reading) == S_OK;
    writer.WriteReading(reading, readable);
    return readable;
}

void ShowMessage(UINT stringId, UINT type) {
    std::wstring text;
    ReadResourceString(stringId, text);
    AfxMessageBox(text.c_str(), type, 0);
}

} // namespace

SaveOutcome SaveParameters(CCaptureDevice& device, int position, const std::wstring& deviceId) {
    // Always look the device up in a fresh enumeration.
    device.ClearDevices();
    device.EnumerateDevices();

    // The list the user chose from may be out of date: the chosen device is
    // saved wherever it is now, and never another device in its place.
    SaveOutcome outcome = SaveOutcome::Saved;
    if (!deviceId.empty()) {
        const int current = device.FindDevice(deviceId);
        if (current < 0)
            return SaveOutcome::DeviceGone;
        if (current != position) {
            position = current;
            outcome = SaveOutcome::DeviceMoved;
        }
    }

    CParameterWriter writer;
    const bool complete = WriteParameters(device, position, writer);
    writer.Flush();
    // A failed write is told whether or not the run got as far as exposure.
    if (writer.Failed())
        ShowMessage(kWriteFailedStringId, MB_OK | MB_ICONERROR);
    else if (complete)
        ShowMessage(kSavedStringId, MB_OK);
    else if (!writer.Wrote() && position >= 0 && position < device.DeviceCount())
        // A listed device that could not be opened; a position that names no
        // device (nothing chosen) stays silent.
        ShowMessage(kNotOpenedStringId, MB_OK | MB_ICONERROR);
    return outcome;
}

void SaveParameters(CCaptureDevice& device, int position) {
    SaveParameters(device, position, std::wstring());
}
