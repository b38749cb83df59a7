// Starting programs, opening addresses, shortcuts and restarting Windows.
#pragma once

#include <string>

namespace kelvara {

// Starts a command line with the given show state (platform::kSwHide, ...)
// and waits for it; its exit code, or -1 when it could not start.
int RunAndWait(const std::wstring& commandLine, int showState);

// Enables the shutdown privilege and asks Windows to restart (not forced);
// true when Windows accepted the request.
bool RebootWindows();

// Opens an address with the shell; when that fails and it is a web
// address, opens it in Internet Explorer. Blank text does nothing. True
// when one of the two started.
bool OpenURL(const std::wstring& address);

// Saves a shell link to `target` as <folder>\<linkName> with the arguments,
// working folder and icon (index 0; none when `iconFile` is empty). False
// without saving anything when `folder` is empty, or when saving failed.
bool CreateShortcut(const std::wstring& target, const std::wstring& arguments, const std::wstring& workingFolder,
                    const std::wstring& folder, const std::wstring& linkName, const std::wstring& iconFile);

}  // namespace kelvara
