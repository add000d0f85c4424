#pragma once
// Shell-call errors: OleCheck raises EOleSysError for a failure status, with
// the system's message text for that status.

#include "platform/base/SysUtils.h"

class EOleSysError : public Exception {
public:
    EOleSysError(AnsiString message, HRESULT errorCode)
        : Exception(std::move(message)), FErrorCode(errorCode)
    {
    }
    HRESULT ErrorCode() const { return FErrorCode; }

private:
    HRESULT FErrorCode;
};

// The system's message text for a status ("The system cannot find the file
// specified." for 0x80070002); an unknown status gets a generic text that
// names it in hex.
AnsiString SysErrorMessage(HRESULT status);
// Raises EOleSysError when status is a failure; returns status otherwise.
HRESULT OleCheck(HRESULT status);
