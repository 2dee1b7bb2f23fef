// One camera as the device enumerator lists it: a moniker that gives the
// camera's property bag and binds to its capture filter.
#pragma once

#include "platform/comobject.h"
#include "platform/linux/v4l2/nodes.h"

#include <memory>

class CDeviceMoniker final : public ComObject<IMoniker> {
public:
    CDeviceMoniker(std::shared_ptr<ISystemCalls> calls, CNodeInfo node)
        : m_calls(std::move(calls)), m_node(std::move(node)) {}

    // Opens the node again and checks that the same capture device still
    // answers there; the filter then owns the descriptor.
    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riidResult,
                                           void** ppvResult) override;
    // IID_IPropertyBag only.
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riid,
                                            void** ppvObj) override;
    // "v4l2:DRIVER:BUS_INFO:NODE": the same camera gets the same name in
    // every enumeration, and no other camera gets it while both are present.
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx* pbc, IMoniker* pmkToLeft,
                                             LPOLESTR* ppszDisplayName) override;

private:
    std::shared_ptr<ISystemCalls> m_calls;
    CNodeInfo m_node;
};
