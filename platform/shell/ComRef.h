#pragma once
// An owning reference to a shell interface: releases it when let go.

#include "platform/shell/ShlObj.h"

#include <utility>

template <class T>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already holds.
    explicit ComRef(T* adopted) : FPtr(adopted) {}
    ComRef(const ComRef& other) : FPtr(other.FPtr)
    {
        if (FPtr) FPtr->AddRef();
    }
    ComRef(ComRef&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept
    {
        std::swap(FPtr, other.FPtr);
        return *this;
    }
    ~ComRef()
    {
        if (FPtr) FPtr->Release();
    }

    // Shares p: adds a reference of this holder's own.
    static ComRef Share(T* p)
    {
        if (p) p->AddRef();
        return ComRef(p);
    }

    T* get() const { return FPtr; }
    T* operator->() const { return FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }
    // Out-argument for calls that hand over a new reference; lets go of the old one.
    T** put()
    {
        reset();
        return &FPtr;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    void reset()
    {
        if (FPtr) std::exchange(FPtr, nullptr)->Release();
    }
    // Gives the reference away to the caller.
    T* release() { return std::exchange(FPtr, nullptr); }

private:
    T* FPtr = nullptr;
};
