// A holder for one counted COM reference. It releases what it holds exactly
// once (on Release, on reassignment, on destruction) and leaves itself empty,
// so callers never balance AddRef and Release by hand.
#pragma once

#include "platform/com.h"

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : m_p(other.m_p) {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ~ComPtr() { Release(); }

    ComPtr& operator=(const ComPtr& other) {
        if (this != &other) {
            if (other.m_p)
                other.m_p->AddRef();
            Release();
            m_p = other.m_p;
        }
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Release();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }

    // Takes a new reference to p (which may be null).
    static ComPtr FromRaw(T* p) {
        ComPtr r;
        r.m_p = p;
        if (p)
            p->AddRef();
        return r;
    }

    // Takes over a reference the caller already owns.
    void Attach(T* p) {
        Release();
        m_p = p;
    }
    T* Detach() {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

    // Drops the held reference, if any, and empties the slot.
    void Release() {
        T* p = m_p;
        m_p = nullptr;
        if (p)
            p->Release();
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    bool IsEmpty() const { return m_p == nullptr; }

    // The slot for an out parameter: empties it first, so a previous
    // reference can never be overwritten and leaked.
    T** ReleaseAndGetAddressOf() {
        Release();
        return &m_p;
    }
    void** ReleaseAndGetAddressOfVoid() {
        return reinterpret_cast<void**>(ReleaseAndGetAddressOf());
    }

    // Queries the held object for another interface into target.
    template <class U> HRESULT As(REFIID iid, ComPtr<U>& target) const {
        if (!m_p)
            return E_POINTER;
        return m_p->QueryInterface(iid, target.ReleaseAndGetAddressOfVoid());
    }

private:
    T* m_p = nullptr;
};
