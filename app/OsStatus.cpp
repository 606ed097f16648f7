#include "app/OsStatus.h"

OsVerdict CheckStartupOs(BOOL versionOk, const OSVERSIONINFOA& version, std::string* osText)
{
    *osText = OsStatusText(versionOk, version);
    OsVerdict verdict = ClassifyOs(versionOk, version);
    return verdict == OsVerdict::Win31 || verdict == OsVerdict::Unsupported ? verdict : OsVerdict::Run;
}
