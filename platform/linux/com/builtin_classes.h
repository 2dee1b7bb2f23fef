// The classes the Linux platform layer provides without registration.
#pragma once

#include "platform/com.h"

// A new reference to the built-in class object for rclsid, or null.
IClassFactory* GetBuiltinClassObject(REFCLSID rclsid);
