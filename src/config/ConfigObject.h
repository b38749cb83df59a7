// The process-wide config object: the configuration file held in memory
// from its first use until the process ends. Every run-time read and write
// of the configuration goes through it; changes reach the disk only when it
// is saved (SaveConfigObject), which rewrites the whole file from memory, so
// sections and keys this program does not know are kept in their order.
//
// The object belongs to the window thread: worker threads get their
// settings from the configuration record, never from this object.
#pragma once

#include <string>

#include "config/MemIniFile.h"
#include "platform/HostFilesApi.h"

namespace kelvara {

// The config object, loaded from `configFile` on first use; later calls
// return the same object whatever file they name.
TMemIniFile& ConfigObject(const std::wstring& configFile);
// Saves the config object when it exists; true when there was nothing to
// save or the file was written.
bool SaveConfigObject(platform::HostFileError& error);
// Forgets the config object, so that the next use loads the file again
// (a fresh run-mode set-up, and tests between cases).
void ResetConfigObject();

}  // namespace kelvara
