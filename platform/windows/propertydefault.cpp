// GetPropertyDefault on Windows: DirectShow reports a default value through
// the range query, and no default mode, so the mode in place stays.
#include "platform/propertydefault.h"

HRESULT GetPropertyDefault(IAMVideoProcAmp* pProcAmp, LONG Property, PropertyDefault* pDefault) {
    return RangeDefault(pProcAmp, Property, pDefault);
}

HRESULT GetPropertyDefault(IAMCameraControl* pCameraControl, LONG Property,
                           PropertyDefault* pDefault) {
    return RangeDefault(pCameraControl, Property, pDefault);
}
