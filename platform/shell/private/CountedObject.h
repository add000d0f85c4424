#pragma once
// The reference counting the namespace's objects share: the creator receives
// the first reference, each reference is counted for ShellDiagnostics, and the
// last Release deletes the object.

#include "platform/shell/private/ShellInternals.h"

#include <atomic>

template <class Interface>
class CountedObject : public Interface {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == FInterfaceId) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override
    {
        CountObject(1);
        return ++FRefs;
    }
    ULONG Release() override
    {
        CountObject(-1);
        const ULONG left = --FRefs;
        if (left == 0) delete this;
        return left;
    }

protected:
    // interfaceId is Interface's own id, which QueryInterface answers to.
    explicit CountedObject(const IID& interfaceId) : FInterfaceId(interfaceId) { CountObject(1); }
    ~CountedObject() override = default;

private:
    const IID& FInterfaceId;
    std::atomic<ULONG> FRefs{1};
};
