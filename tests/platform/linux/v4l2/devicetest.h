// Helpers shared by the camera-source tests: enumerate a fake kernel's
// cameras and read their names, the way the capture holder does.
#pragma once

#include "platform/comptr.h"
#include "platform/directshow.h"
#include "tests/platform/linux/v4l2/fakekernel.h"

#include <memory>
#include <string>
#include <vector>

// The monikers of the video input category, in enumeration order; *result
// receives CreateClassEnumerator's answer.
std::vector<ComPtr<IMoniker>> Enumerate(const std::shared_ptr<CFakeKernel>& kernel,
                                        HRESULT* result = nullptr);

// The moniker's "FriendlyName" (or another name of its bag), or a text
// starting with "error" when it fails.
std::wstring FriendlyName(IMoniker* moniker, LPCOLESTR property = L"FriendlyName");

ComPtr<IBaseFilter> Bind(IMoniker* moniker, HRESULT* result = nullptr);
