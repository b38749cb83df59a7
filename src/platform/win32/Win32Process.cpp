#include "platform/win32/Win32Process.h"

#include <windows.h>

#include <objbase.h>
#include <reason.h>
#include <shellapi.h>
#include <shlobj.h>
// The facility's ShellExecute is not the A/W macro of <shellapi.h>.
#undef ShellExecute

#include "platform/win32/Win32Handle.h"

namespace kelvara::platform::win32 {
namespace {

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

// COM for the calling thread for the length of one shell call. A thread
// already in another apartment keeps it; COM works there all the same.
class ComApartment {
 public:
  ComApartment() noexcept : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }

 private:
  HRESULT result_;
};

// Hands the paint messages of the calling thread to their windows; sent
// messages from other threads are delivered by PeekMessageW itself.
void DispatchPaintMessages() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageW(&message);
}

}  // namespace

int Win32Process::RunAndWait(const std::wstring& commandLine, int showState) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showState);
  PROCESS_INFORMATION started{};
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring command = commandLine;
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &started)) {
    return -1;
  }
  const KernelHandle process(started.hProcess);
  const KernelHandle thread(started.hThread);
  HANDLE waitFor = process.get();
  for (;;) {
    const DWORD woke = ::MsgWaitForMultipleObjects(1, &waitFor, FALSE, INFINITE, QS_PAINT | QS_SENDMESSAGE);
    if (woke != WAIT_OBJECT_0 + 1) break;  // ended, or the wait failed
    DispatchPaintMessages();
  }
  DWORD exitCode = 0;
  if (!::GetExitCodeProcess(process.get(), &exitCode)) return -1;
  return static_cast<int>(exitCode);
}

long Win32Process::ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                                const std::wstring& folder, int showState) {
  const ComApartment com;
  const HINSTANCE result =
      ::ShellExecuteW(nullptr, OrNull(verb), file.c_str(), OrNull(parameters), OrNull(folder), showState);
  return static_cast<long>(reinterpret_cast<INT_PTR>(result));
}

bool Win32Process::RunElevated(const std::wstring& parameters) {
  std::wstring program(MAX_PATH, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
  if (length == 0 || length >= program.size()) return false;
  program.resize(length);
  const ComApartment com;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_UNICODE;  // 0x4040
  info.lpVerb = L"runas";
  info.lpFile = program.c_str();
  info.lpParameters = OrNull(parameters);
  info.nShow = SW_SHOWNORMAL;
  const bool started = ::ShellExecuteExW(&info) != FALSE;
  // The new process runs on its own; its handle is not needed here.
  const KernelHandle process(info.hProcess);
  return started;
}

bool Win32Process::CreateShortcut(const ShortcutDetails& shortcut, const std::wstring& linkPath) {
  if (linkPath.empty()) return false;
  const ComApartment com;
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put())))) {
    return false;
  }
  link.get()->SetPath(shortcut.target.c_str());
  link.get()->SetArguments(shortcut.arguments.c_str());
  link.get()->SetWorkingDirectory(shortcut.workingFolder.c_str());
  if (!shortcut.iconFile.empty()) link.get()->SetIconLocation(shortcut.iconFile.c_str(), 0);
  ComPtr<IPersistFile> file;
  if (FAILED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) return false;
  return SUCCEEDED(file.get()->Save(linkPath.c_str(), TRUE));
}

bool Win32Process::RestartWindows() {
  return ::ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_MAINTENANCE |
                                         SHTDN_REASON_FLAG_PLANNED) != FALSE;
}

}  // namespace kelvara::platform::win32
