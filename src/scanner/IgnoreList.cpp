#include "scanner/IgnoreList.h"

namespace kelvara {

const std::vector<std::wstring>& BuiltInIgnoreList() {
  static const std::vector<std::wstring> patterns = {
      L"HKEY_USERS\\*\\ActivatableClasses\\*",
      L"*Microsoft\\Office*",
      L"HKEY_CLASSES_ROOT\\Drive\\",
      L"\\Keyboard Layout\\Toggle",
      L"CLSID\\CLSID",
      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution "
      L"Options\\Your Image File Name Here without a path",
      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
      L"HKEY_LOCAL_MACHINE\\*\\Software\\Policies",
      L"\\hewlett-packard*",
      L"HKEY_CLASSES_ROOT\\Local Settings",
      L"*\\VirtualStore*",
      L"*\\SOFTWARE\\WOW6432NODE\\Classes*",
      L"Software\\Policies",
      L"ACD Systems",
      L"Software\\WOW6432NODE\\Policies",
      L"*\\http",
      L"TrendMicro",
      L"*{00021401-0000-0000-C000-000000000046}*",
      L"*HKEY_CLASSES_ROOT\\lnkfile*",
      L"*HKEY_CLASSES_ROOT\\Drive\\shell\\cmd*",
      L"*HKEY_CLASSES_ROOT\\Unknown\\shell\\opendlg*",
      L"*{B69F34DD-F0F9-42DC-9EDD-957187DA688D}*",
      L"*\\Uninstall\\SanGuoShaAIR*",
      L"*1317AFC2EE64EF33DC2CD59F2EB521ED*",
      L"*{2CFA7131-46EE-33FE-CDC2-5DF9E25B12DE}*",
      L"*\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wedm.exe*",
      L"*\\Windows\\system32\\drivers\\Rockvdd.dll",
      L"*\\Windows\\system32\\drivers\\RockUsb.sys",
      L"*\\Windows\\system32\\drivers\\Rockeynt.sys",
      L"*{BA126AD7-2166-11D1-B1D0-00805FC1270E}*",
      L"*Brother*",
      L"*Notepad2*",
      L"*SRS Labs*",
      L"HKEY_CLASSES_ROOT\\AppX*",
      L"*Symantec Endpoint Protection*",
      L"*\\settingContent\\*",
      L"*\\applicationcontent\\*",
      L"*Microsoft.PhotoManager*",
      L"*.eml",
      L"*.pano",
      L"*\\WTLibrary12_E\\*",
      L"*\\RICOH\\FunctionMix*",
      L"*Norton*",
      L"*norton*",
  };
  return patterns;
}

}  // namespace kelvara
