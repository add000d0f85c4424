#pragma once
// A folder that answers as the real folder it wraps, except where a test
// scripts the answer: what CompareIDs returns, and a name query that raises
// part-way through a fill, as running out of memory would. It remembers the
// last wide name it handed out. It lives on the
// test's stack; its count shows whether anyone kept a reference.

#include "platform/base/SysUtils.h"
#include "platform/shell/ComRef.h"
#include "platform/shell/ShlObj.h"

#include <functional>

class ScriptedFolder final : public IShellFolder {
public:
    explicit ScriptedFolder(IShellFolder* real) : FReal(ComRef<IShellFolder>::Share(real)) {}

    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!(riid == IID_IUnknown || riid == IID_IShellFolder)) return E_NOINTERFACE;
        *object = static_cast<IShellFolder*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++FRefs; }
    ULONG Release() override { return --FRefs; }
    // 1 while only the test holds it.
    ULONG References() const { return FRefs; }

    HRESULT ParseDisplayName(HWND owner, IBindCtx* context, LPOLESTR name, ULONG* eaten,
                             LPITEMIDLIST* id, ULONG* attributes) override
    {
        return FReal->ParseDisplayName(owner, context, name, eaten, id, attributes);
    }
    HRESULT EnumObjects(HWND owner, DWORD flags, IEnumIDList** enumerator) override
    {
        return FReal->EnumObjects(owner, flags, enumerator);
    }
    HRESULT BindToObject(LPCITEMIDLIST id, IBindCtx* context, REFIID riid, void** object) override
    {
        return FReal->BindToObject(id, context, riid, object);
    }
    HRESULT CompareIDs(LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second) override
    {
        return compare ? compare(first, second) : FReal->CompareIDs(column, first, second);
    }
    HRESULT GetAttributesOf(UINT count, LPCITEMIDLIST* ids, SFGAOF* inOut) override
    {
        return FReal->GetAttributesOf(count, ids, inOut);
    }
    HRESULT GetDisplayNameOf(LPCITEMIDLIST id, DWORD flags, STRRET* name) override
    {
        if (++namesAsked == raiseAtName) throw Exception("Out of memory.");
        const HRESULT status = FReal->GetDisplayNameOf(id, flags, name);
        if (SUCCEEDED(status) && name->uType == STRRET_WSTR) lastWideName = name->pOleStr;
        return status;
    }

    // When set, CompareIDs answers with this instead of the real folder.
    std::function<HRESULT(LPCITEMIDLIST, LPCITEMIDLIST)> compare;
    // The name query with this number (from 1) raises; 0 never.
    int raiseAtName = 0;
    int namesAsked = 0;
    // The wide text of the last name answered as one (the caller owns it).
    LPOLESTR lastWideName = nullptr;

private:
    ComRef<IShellFolder> FReal;
    ULONG FRefs = 1;
};
