#include "platform/shell/ComObj.h"

namespace {

const char* knownMessage(HRESULT status)
{
    switch (static_cast<std::uint32_t>(status)) {
    case 0x80070002: return "The system cannot find the file specified.";
    case 0x80070003: return "The system cannot find the path specified.";
    case 0x80070005: return "Access is denied.";
    case 0x8007000E: return "Not enough storage is available to complete this operation.";
    case 0x8007000F: return "The system cannot find the drive specified.";
    case 0x80070015: return "The device is not ready.";
    case 0x80070057: return "The parameter is incorrect.";
    case 0x8007007B: return "The filename, directory name, or volume label syntax is incorrect.";
    case 0x8007010B: return "The directory name is invalid.";
    case 0x80070781: return "The name of the file cannot be resolved by the system.";
    case 0x80004001: return "Not implemented";
    case 0x80004002: return "No such interface supported";
    case 0x80004003: return "Invalid pointer";
    case 0x80004005: return "Unspecified error";
    default: return nullptr;
    }
}

}  // namespace

AnsiString SysErrorMessage(HRESULT status)
{
    if (const char* text = knownMessage(status)) return text;
    return Format("System error 0x%08X.", static_cast<unsigned>(status));
}

HRESULT OleCheck(HRESULT status)
{
    if (FAILED(status)) throw EOleSysError(SysErrorMessage(status), status);
    return status;
}
