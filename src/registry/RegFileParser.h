// The grammar of .reg files: turns a file's bytes into registry operations
// for a sink, and reports the first malformed line.
//
// Understood: the header line ("Windows Registry Editor Version 5.00" or
// "REGEDIT4"); key lines "[ROOT\path]" (long or short root names) and key
// deletions "[-ROOT\path]"; values "@=..." (the default value) and
// "\"name\"=..." with the escapes \\ \" \r \n in names and strings;
// "name"=- (deletion); data "string", dword:1 to 8 hex digits, hex: and
// hex(N): byte lists continued over lines ending in "\"; comment lines
// (";" or "#"); blank lines. Blanks around "=" and a comment after the
// data are allowed. In a string, a backslash before any other character is
// kept as it is.
//
// In REGEDIT4 files the hex forms of text types (1, 2, 7) hold ANSI text;
// the sink always gets UTF-16LE data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/RegistryApi.h"

namespace kelvara {

// Receives the operations of a file in order. `line` is the line the
// operation comes from (for a continued value, its first line).
class RegFileSink {
 public:
  virtual ~RegFileSink() = default;
  // The key the following values belong to; `path` may be empty (the
  // root itself), has no leading or trailing "\" and no empty part.
  virtual void BeginKey(std::size_t line, platform::HKey root, std::wstring_view path) = 0;
  // Deletes a key with its whole tree; values that follow it until the
  // next key line are checked but not handed on.
  virtual void DeleteKey(std::size_t line, platform::HKey root, std::wstring_view path) = 0;
  virtual void SetValue(std::size_t line, std::wstring_view name, std::uint32_t type,
                        std::span<const std::uint8_t> data) = 0;
  virtual void DeleteValue(std::size_t line, std::wstring_view name) = 0;
};

struct RegSyntaxError {
  std::size_t line = 0;
  std::wstring what;
};

// Parses the whole file. On a malformed line returns false with that line
// and what is wrong; operations before it have been handed to the sink.
bool ParseRegFile(std::span<const std::uint8_t> bytes, RegFileSink& sink, RegSyntaxError& error);

}  // namespace kelvara
