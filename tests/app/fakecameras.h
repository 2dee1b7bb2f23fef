// Fake video capture devices behind CLSID_SystemDeviceEnum, registered
// through the COM runtime's class registry for the life of one object. They
// log enumeration and filter destruction, each with whether COM was up, and
// each write a restore makes.
#pragma once

#include "platform/com.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct FakeCamera {
    std::wstring name;
    bool nameReadable = true;
    // Every property of this camera reads as base + property id, so tests
    // can tell the cameras' values apart in the parameter file.
    LONG base = 0;
    // The moniker's display name; empty: one made of the name and base.
    std::wstring id{};
};

// Whether CoCreateInstance answers on this thread, rather than CO_E_NOTINITIALIZED.
bool ComIsInitialized();

class CFakeCameraRegistration {
public:
    explicit CFakeCameraRegistration(std::vector<FakeCamera> cameras);
    ~CFakeCameraRegistration();
    CFakeCameraRegistration(const CFakeCameraRegistration&) = delete;
    CFakeCameraRegistration& operator=(const CFakeCameraRegistration&) = delete;

    // "enumerate com=up", "filter 1 destroyed com=up", "set 100 p0=5/2" (a
    // write to the camera with base 100), ... in the order they happened.
    const std::vector<std::string>& Log() const;
    // Filters bound and not yet destroyed.
    int LiveFilters() const;
    // Called as each filter is destroyed, after its log entry.
    void OnFilterDestroyed(std::function<void()> callback);
    // What the next enumeration finds: cameras plugged in or pulled out.
    void SetCameras(std::vector<FakeCamera> cameras);

    struct State;

private:
    std::shared_ptr<State> m_state;
    DWORD m_cookie = 0;
};
