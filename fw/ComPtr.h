// COM references with a scope. CComPtr owns one reference to a COM object and releases it on
// scope exit; CComObject gives the COM objects that the mixer implements itself (the callbacks
// that Core Audio calls) their reference count.
//
// Usage: CComPtr<IMMDevice> pDevice; pCollection->Item(0, pDevice.Put()); pDevice->GetId(...).
// A callback: class CMyCallback : public CComObject<IMMNotificationClient> {...}; then
// MakeComObject<CMyCallback>(arguments) returns the first reference.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <type_traits>
#include <utility>

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    // Takes over a reference that the caller already holds.
    explicit CComPtr(T* p) : m_p(p) {}
    ~CComPtr() { Reset(); }
    CComPtr(const CComPtr& other) : m_p(other.m_p)
    {
        if (m_p != nullptr)
            m_p->AddRef();
    }
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    // From a pointer to an implementation to a pointer to its interface.
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    CComPtr(CComPtr<U>&& other) noexcept : m_p(other.Detach())
    {
    }
    CComPtr& operator=(CComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }

    // A new reference to an object that someone else holds.
    static CComPtr Share(T* p)
    {
        if (p != nullptr)
            p->AddRef();
        return CComPtr(p);
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Releases the object held, for an out-parameter that receives a new reference.
    T** Put()
    {
        Reset();
        return &m_p;
    }
    // The same for the void** of QueryInterface, CoCreateInstance and IMMDevice::Activate.
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // Hands the reference over to the caller.
    T* Detach() { return std::exchange(m_p, nullptr); }

    void Reset()
    {
        if (m_p != nullptr)
            std::exchange(m_p, nullptr)->Release();
    }

private:
    T* m_p = nullptr;
};

// Reference counting and IUnknown for an object that implements one COM interface. Core Audio
// calls such objects from its own threads, so the count is atomic; the last Release deletes.
template <class Interface>
class CComObject : public Interface {
public:
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (!IsEqualIID(riid, __uuidof(IUnknown)) && !IsEqualIID(riid, __uuidof(Interface))) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_cRef; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG cRef = --m_cRef;
        if (cRef == 0)
            delete this;
        return cRef;
    }

protected:
    CComObject() = default;
    virtual ~CComObject() = default;

private:
    std::atomic<ULONG> m_cRef{1};
};

// The one place that creates COM objects of our own: the reference returned is the first.
template <class T, class... Args>
CComPtr<T> MakeComObject(Args&&... args)
{
    return CComPtr<T>(new T(std::forward<Args>(args)...));
}
