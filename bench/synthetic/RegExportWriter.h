// Streams a registry export in the form regedit /e writes: UTF-16LE with a
// byte-order mark, CR LF line ends, an empty line before each key line,
// binary data as comma-separated hex wrapped with a trailing backslash
// after about 80 columns. Each key is written with all its values at once;
// the parents of a key are written before it when they were not yet, so
// the export names every key it creates.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kelvara::bench {

class RegExportWriter {
 public:
  // Opens `path` for writing; Ok() tells whether it could.
  explicit RegExportWriter(const std::string& path);
  RegExportWriter(const RegExportWriter&) = delete;
  RegExportWriter& operator=(const RegExportWriter&) = delete;
  ~RegExportWriter();

  [[nodiscard]] bool Ok() const { return file_ != nullptr && !failed_; }
  // Flushes and closes the file; false when anything could not be written.
  bool Close();

  // Starts the key `path` (long root name and key, "HKEY_LOCAL_MACHINE\x");
  // the values written next belong to it. Returns false when the key was
  // already written (it is then written again, its values added).
  bool Key(std::wstring_view path);
  // Values of the current key; an empty name is the default value.
  void String(std::wstring_view name, std::wstring_view text);
  void ExpandString(std::wstring_view name, std::wstring_view text);
  void MultiString(std::wstring_view name, const std::vector<std::wstring>& texts);
  void Dword(std::wstring_view name, std::uint32_t value);
  void Qword(std::wstring_view name, std::uint64_t value);
  void Binary(std::wstring_view name, std::span<const std::uint8_t> bytes);
  // A value of type REG_NONE without data, as Explorer's ProgID lists hold.
  void None(std::wstring_view name);

  [[nodiscard]] std::uint64_t Keys() const { return keys_; }
  [[nodiscard]] std::uint64_t Values() const { return values_; }
  [[nodiscard]] std::uint64_t Bytes() const { return bytes_; }

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  void KeyLine(std::wstring_view path);
  void Hex(std::wstring_view name, std::uint32_t type, std::span<const std::uint8_t> bytes);
  void Name(std::wstring_view name);
  void Quoted(std::wstring_view text);
  void Text(std::wstring_view text);
  void EndLine();
  void Flush();

  std::unique_ptr<std::FILE, FileCloser> file_;
  bool failed_ = false;
  std::vector<std::uint8_t> buffer_;
  std::size_t column_ = 0;  // characters on the current line
  std::unordered_set<std::uint64_t> written_;
  std::uint64_t keys_ = 0, values_ = 0, bytes_ = 0;
};

}  // namespace kelvara::bench
