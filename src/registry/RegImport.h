// Applying .reg files to the installed registry: restoring a per-fix
// backup when the registry editor cannot run, and filling a snapshot.
//
// The whole file is checked before anything is applied, so a malformed
// line changes nothing; the error names the file, the line and what is
// wrong. A registry operation that fails (a key refused, a full disk) does
// not stop the rest: everything that can be restored is, and the error
// names the first failure and how many there were.
//
// Keys are opened in the view the export writer read them from (the
// 64-bit view on 64-bit Windows, see GetRegAccess); "[-KEY]" deletes the
// whole tree and is no failure when the key is absent, likewise deleting
// a value that is absent.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvara {

bool ImportRegFile(const std::wstring& fileName, std::wstring& error);
// The same for a file's bytes; `sourceName` names it in errors.
bool ImportRegData(std::span<const std::uint8_t> bytes, const std::wstring& sourceName, std::wstring& error);
// Only the check: true when every line is well formed.
bool CheckRegData(std::span<const std::uint8_t> bytes, const std::wstring& sourceName, std::wstring& error);

// Reads a whole file; the error names the file and the reason.
bool ReadRegFileBytes(const std::wstring& fileName, std::vector<std::uint8_t>& bytes, std::wstring& error);

}  // namespace kelvara
