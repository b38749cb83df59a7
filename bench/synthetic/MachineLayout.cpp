#include "synthetic/MachineLayout.h"

namespace kelvara::bench {
namespace {

// Wine gives every prefix's user this SID.
constexpr wchar_t kWineUserSid[] = L"S-1-5-21-0-0-0-1000";
constexpr wchar_t kUserSid[] = L"S-1-5-21-3623811015-3361044348-30300820-1001";
constexpr wchar_t kOtherSid[] = L"S-1-5-21-3623811015-3361044348-30300820-1002";

UserProfile Profile(const std::wstring& name, const std::wstring& sid, bool running, const std::wstring& users) {
  UserProfile p;
  p.name = name;
  p.sid = sid;
  p.hive = L"HKEY_USERS\\" + sid;
  p.truthRoot = running ? L"HKEY_CURRENT_USER" : p.hive;
  p.home = users + L"\\" + name;
  p.documents = p.home + L"\\Documents";
  p.running = running;
  return p;
}

}  // namespace

std::wstring MachineLayout::Machine(std::wstring_view key) { return L"HKEY_LOCAL_MACHINE\\" + std::wstring(key); }

std::wstring MachineLayout::Classes(std::wstring_view key) {
  return L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\" + std::wstring(key);
}

std::wstring MachineLayout::ClassesFinding(std::wstring_view key) { return L"HKEY_CLASSES_ROOT\\" + std::wstring(key); }

MachineLayout WindowsLayout(const std::wstring& userName) {
  MachineLayout layout;
  layout.windows = L"C:\\Windows";
  layout.system32 = L"C:\\Windows\\System32";
  layout.programFiles = L"C:\\Program Files";
  layout.programFilesX86 = L"C:\\Program Files (x86)";
  layout.programData = L"C:\\ProgramData";
  layout.user = Profile(userName, kUserSid, true, L"C:\\Users");
  layout.other = Profile(userName == L"Morgan" ? L"Riley" : L"Morgan", kOtherSid, false, L"C:\\Users");
  return layout;
}

MachineLayout WineLayout(const std::wstring& userName) {
  MachineLayout layout;
  layout.wine = true;
  layout.windows = L"C:\\windows";
  layout.system32 = L"C:\\windows\\system32";
  layout.programFiles = L"C:\\Program Files";
  layout.programFilesX86 = L"C:\\Program Files (x86)";
  layout.programData = L"C:\\ProgramData";
  layout.user = Profile(userName, kWineUserSid, true, L"C:\\users");
  layout.user.hive = L"HKEY_CURRENT_USER";
  // Wine links the profile's Documents to a folder of the host, which a
  // copy of the drive folder cannot replace.
  layout.user.documents = layout.user.home + L"\\AppData\\Local\\Documents";
  return layout;
}

}  // namespace kelvara::bench
