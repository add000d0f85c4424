#pragma once
// The shell's namespace interfaces and calls, over the POSIX file system.
//
// Namespace: the desktop (empty item id list) holds the drives folder
// ("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}") and the home folder; the drives
// folder holds one item per drive of the drive map; drives and folders below
// them hold the entries of the POSIX folders they stand for.

#include "platform/base/SysUtils.h"

#include <cstdint>

// ---- COM basics -------------------------------------------------------------

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using REFIID = const IID&;
bool operator==(const GUID& a, const GUID& b);

extern const IID IID_IUnknown;
extern const IID IID_IMalloc;
extern const IID IID_IShellFolder;
extern const IID IID_IEnumIDList;

using LPOLESTR = WCHAR*;
using LPCOLESTR = const WCHAR*;

class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

class IBindCtx;  // never used: callers pass null

// The shell allocator. Every item id list and every wide string the shell
// hands out lives in its memory.
class IMalloc : public IUnknown {
public:
    virtual void* Alloc(size_t size) = 0;  // null when exhausted
    virtual void* Realloc(void* block, size_t size) = 0;
    virtual void Free(void* block) = 0;  // null is ignored
    virtual size_t GetSize(void* block) = 0;
};

// ---- Item identifier lists -----------------------------------------------------

#pragma pack(push, 1)
struct SHITEMID {
    WORD cb;       // byte count including cb itself
    BYTE abID[1];  // folder-private data
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

// ---- Display names -------------------------------------------------------------

constexpr UINT STRRET_WSTR = 0;
constexpr UINT STRRET_OFFSET = 1;
constexpr UINT STRRET_CSTR = 2;
struct STRRET {
    UINT uType;
    union {
        LPOLESTR pOleStr;  // STRRET_WSTR: from the shell allocator, caller frees
        UINT uOffset;      // STRRET_OFFSET: zero-terminated text at this offset in the id
        char cStr[MAX_PATH];
    };
};

constexpr DWORD SHGDN_NORMAL = 0;
constexpr DWORD SHGDN_INFOLDER = 1;
constexpr DWORD SHGDN_FORPARSING = 0x8000;

// ---- Folders --------------------------------------------------------------------

constexpr DWORD SHCONTF_FOLDERS = 0x20;
constexpr DWORD SHCONTF_NONFOLDERS = 0x40;
constexpr DWORD SHCONTF_INCLUDEHIDDEN = 0x80;

using SFGAOF = ULONG;
constexpr SFGAOF SFGAO_FOLDER = 0x20000000;
constexpr SFGAOF SFGAO_FILESYSTEM = 0x40000000;
constexpr SFGAOF SFGAO_HASSUBFOLDER = 0x80000000;

class IEnumIDList : public IUnknown {
public:
    // Hands out up to celt child ids (owned by the caller); S_OK when celt
    // were fetched, S_FALSE at the end.
    virtual HRESULT Next(ULONG celt, LPITEMIDLIST* ids, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;
};

class IShellFolder : public IUnknown {
public:
    virtual HRESULT ParseDisplayName(HWND owner, IBindCtx* bindContext, LPOLESTR displayName,
                                     ULONG* eaten, LPITEMIDLIST* id, ULONG* attributes) = 0;
    virtual HRESULT EnumObjects(HWND owner, DWORD flags, IEnumIDList** enumerator) = 0;
    virtual HRESULT BindToObject(LPCITEMIDLIST id, IBindCtx* bindContext, REFIID riid,
                                 void** object) = 0;
    // The CODE field (low 16 bits) is negative, zero or positive.
    virtual HRESULT CompareIDs(LPARAM lParam, LPCITEMIDLIST id1, LPCITEMIDLIST id2) = 0;
    virtual HRESULT GetAttributesOf(UINT cidl, LPCITEMIDLIST* ids, SFGAOF* inOut) = 0;
    virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST id, DWORD flags, STRRET* name) = 0;
};

// ---- Calls --------------------------------------------------------------------

HRESULT SHGetMalloc(IMalloc** malloc);
HRESULT SHGetDesktopFolder(IShellFolder** folder);

constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_DRIVES = 0x0011;
constexpr int CSIDL_PROFILE = 0x0028;
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* id);

struct SHFILEINFOA {
    HICON hIcon;
    int iIcon;
    DWORD dwAttributes;
    char szDisplayName[MAX_PATH];
    char szTypeName[80];
};
constexpr UINT SHGFI_LARGEICON = 0x0;
constexpr UINT SHGFI_SMALLICON = 0x1;
constexpr UINT SHGFI_OPENICON = 0x2;
constexpr UINT SHGFI_PIDL = 0x8;
constexpr UINT SHGFI_ICON = 0x100;
constexpr UINT SHGFI_TYPENAME = 0x400;
constexpr UINT SHGFI_SYSICONINDEX = 0x4000;
// With SHGFI_PIDL, path is an absolute item id list; otherwise a namespace
// path. With SHGFI_SYSICONINDEX the result is the system image list
// (HIMAGELIST, small or large), otherwise non-zero on success.
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD fileAttributes, SHFILEINFOA* info, UINT infoSize,
                         UINT flags);

constexpr int SHGDFIL_FINDDATA = 1;
HRESULT SHGetDataFromIDListA(IShellFolder* folder, LPCITEMIDLIST id, int format, void* data,
                             int dataSize);

// Wide copies of 8-bit text, released with SysFreeString.
LPOLESTR StringToOleStr(const AnsiString& text);
void SysFreeString(LPOLESTR text);
