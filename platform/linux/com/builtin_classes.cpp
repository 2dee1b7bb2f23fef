// Built-in classes: the system device enumerator, whose video input category
// lists the machine's V4L2 cameras.
#include "platform/linux/com/builtin_classes.h"

#include "platform/linux/com/classfactory.h"
#include "platform/linux/v4l2/enumerator.h"

IClassFactory* GetBuiltinClassObject(REFCLSID rclsid) {
    if (IsEqualCLSID(rclsid, CLSID_SystemDeviceEnum))
        return CClassFactory<CSystemDeviceEnum>::Create();
    return nullptr;
}
