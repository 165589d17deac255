// The IUnknown part of the shell objects: one interface (and the ones it derives from), a
// count that starts at one (the creator's) and may be changed from any thread, and deletion
// with the last reference, so a receiver still holding the object never calls into freed
// memory.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

template <class Interface, const IID&... answered>
class ComObject : public Interface {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || (IsEqualIID(id, answered) || ...)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG remaining = --references;
        if (remaining == 0)
            delete this;
        return static_cast<ULONG>(remaining);
    }

protected:
    // Only Release deletes.
    virtual ~ComObject() = default;

private:
    std::atomic<LONG> references{1};
};
