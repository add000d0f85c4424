#include "platform/shell/OwnedIdList.h"

#include "platform/shell/ComObj.h"
#include "platform/shell/ComRef.h"

OwnedIdList::~OwnedIdList()
{
    ComRef<IMalloc> malloc;
    if (FId && SUCCEEDED(SHGetMalloc(malloc.put()))) malloc->Free(FId);
}

void OwnedIdList::Free()
{
    if (!FId) return;
    ComRef<IMalloc> malloc;
    OleCheck(SHGetMalloc(malloc.put()));
    malloc->Free(std::exchange(FId, nullptr));
}
