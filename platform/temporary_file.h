// The temporary file WriteWholeFile has given a name and not yet renamed: the
// one an interrupted program removes before it ends.
#pragma once

#include <string>

namespace platform {

#ifdef _WIN32
void HoldTemporary(const std::wstring& path);
#else
void HoldTemporary(const std::string& path);
#endif
void ReleaseTemporary();

}  // namespace platform
