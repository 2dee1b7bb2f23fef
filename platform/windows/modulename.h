// The running executable's file name without directory and extension
// ("VK37Set"), which names the application where nothing else does.
#pragma once

#include <string>

std::wstring ExecutableBaseName();
