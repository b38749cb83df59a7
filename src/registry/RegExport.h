// The writer of registry export text (".reg", "Windows Registry Editor
// Version 5.00"): the one producer of such files in the program, used for
// the per-fix backups and for saving a whole snapshot.
//
// The file is UTF-16LE with a byte-order mark, every line (the last one too)
// ends with CR LF, and no line is wrapped. Each exported key is an empty
// line, the key line "[ROOT\path]" and one line per value in enumeration
// order; sub-keys follow depth first.
//
// Value data: REG_SZ as a quoted string (backslashes and double quotes
// escaped) when its data is exactly the text and one terminating NUL;
// other REG_SZ data (no NUL, a NUL inside, CR or LF in the text) as
// hex(1): so that importing it restores the same bytes. REG_DWORD as
// "dword:XXXXXXXX"; every other type as "hex(N):" and its bytes.
//
// Sections accumulate in one process-wide buffer; only one export may be
// in progress at a time.
#pragma once

#include <string>
#include <vector>

#include "platform/RegistryApi.h"

namespace kelvara {

// With `append` set, adds one key to the export in progress: the whole key
// with its values and sub-keys when `valueNames` is null, else only the
// listed values of the key itself (listed values that do not exist are
// left out). With `append` cleared, adds the key (unless `keyPath` is
// empty), writes the accumulated text to `fileName` and ends the export.
//
// A key that cannot be opened still gets its key line. Returns false only
// when the file had to be written and could not be; `error`, when given,
// then names the file and the reason. The file is replaced atomically, so
// a failed write leaves an older file of that name intact.
bool ExportRegKey(platform::HKey root, const std::wstring& keyPath, const std::vector<std::wstring>* valueNames,
                  bool append, const std::wstring& fileName, std::wstring* error = nullptr);

}  // namespace kelvara
