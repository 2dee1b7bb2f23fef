// The task allocator: memory handed across a COM call and freed by the
// receiver with CoTaskMemFree.
#include "platform/com.h"

#include <cstdlib>

LPVOID CoTaskMemAlloc(size_t cb) {
    return std::malloc(cb != 0 ? cb : 1);
}

void CoTaskMemFree(LPVOID pv) {
    std::free(pv);
}
