// An INI file held whole in memory: the configuration file, the exclusion
// list and the language files.
//
// Reading: a byte-order mark selects UTF-8 or UTF-16; without one the
// caller's default applies (the ANSI code page for the configuration, UTF-16LE
// for language files). Every trimmed line "[name]" opens a section; other
// lines inside a section are keys, split at the first "=" with the blanks
// around it removed (a line without "=" is a key with an empty value).
// Lines starting with ";", blank lines and lines before the first section are
// skipped. Section and key names compare without regard to case and keep
// their order; a repeated section adds its keys to the first one, and of
// repeated keys the first one counts. Undecodable bytes read as U+FFFD (or
// as their ANSI characters), so a damaged file still yields every readable
// key.
//
// Saving writes every section and key in order, in the encoding the file
// was read with (the ANSI code page for a new file; UTF-16LE with a BOM when
// the text holds characters the ANSI code page cannot, so nothing is lost).
// It writes a temporary file and renames it over the old one, so a failed
// or interrupted save leaves the previous file intact.
//
// Lookups are hashed, case-insensitive and allocation-free. The object is
// not synchronised: a loaded object may be read from several threads at
// once, but nothing may change it meanwhile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/ColorText.h"
#include "config/DateTime.h"
#include "platform/Encoding.h"
#include "platform/HostFilesApi.h"

namespace kelvara {

struct TIniEntry {
  std::wstring key;
  std::wstring value;
};

namespace detail {
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::wstring_view text) const noexcept;
};
struct TextEqual {
  using is_transparent = void;
  bool operator()(std::wstring_view a, std::wstring_view b) const noexcept;
};
using TextIndex = std::unordered_map<std::wstring, std::size_t, TextHash, TextEqual>;
}  // namespace detail

class TMemIniFile {
 public:
  // An empty object that saves to `fileName` in `encoding`.
  explicit TMemIniFile(std::wstring fileName = {}, TextEncoding encoding = TextEncoding::Ansi);

  // Reads `fileName` through the host files. A missing file gives an empty
  // object; so does an existing file that cannot be read, which the object
  // then refuses to overwrite (see UpdateFile).
  static TMemIniFile Load(const std::wstring& fileName, TextEncoding defaultEncoding = TextEncoding::Ansi);

  // Replaces the content with the parsed `text`.
  void SetText(std::wstring_view text);
  // The text a save writes.
  [[nodiscard]] std::wstring Text() const;

  [[nodiscard]] const std::wstring& FileName() const { return fileName_; }
  [[nodiscard]] TextEncoding Encoding() const { return encoding_; }
  // Why Load could not read an existing file; empty otherwise.
  [[nodiscard]] const std::wstring& LoadError() const { return loadError_; }

  [[nodiscard]] bool SectionExists(std::wstring_view section) const;
  [[nodiscard]] bool ValueExists(std::wstring_view section, std::wstring_view key) const;
  // The stored value, or null when the key is missing; valid until the
  // object changes.
  [[nodiscard]] const std::wstring* Find(std::wstring_view section, std::wstring_view key) const;

  // Section names, key names of a section, and its keys with their values,
  // in file order.
  [[nodiscard]] std::vector<std::wstring> ReadSections() const;
  [[nodiscard]] std::vector<std::wstring> ReadSection(std::wstring_view section) const;
  [[nodiscard]] std::vector<TIniEntry> ReadSectionValues(std::wstring_view section) const;

  // Typed reads: the default when the key is missing or its value is not of
  // the type. A present key with an empty value reads as empty text.
  [[nodiscard]] std::wstring ReadString(std::wstring_view section, std::wstring_view key,
                                        std::wstring_view defaultValue) const;
  // Decimal, or hexadecimal after "$" or "0x"; 32-bit signed.
  [[nodiscard]] int ReadInteger(std::wstring_view section, std::wstring_view key, int defaultValue) const;
  // An integer; any value other than 0 is true.
  [[nodiscard]] bool ReadBool(std::wstring_view section, std::wstring_view key, bool defaultValue) const;
  // A number with the user's decimal separator (or "." or ",").
  [[nodiscard]] double ReadFloat(std::wstring_view section, std::wstring_view key, double defaultValue) const;
  // A float date; a date text is accepted too, as older files hold some
  // float-date keys in that form.
  [[nodiscard]] TDateTime ReadFloatDate(std::wstring_view section, std::wstring_view key, TDateTime defaultValue) const;
  [[nodiscard]] TDateTime ReadDateText(std::wstring_view section, std::wstring_view key, TDateTime defaultValue) const;
  [[nodiscard]] TColor ReadColor(std::wstring_view section, std::wstring_view key, TColor defaultValue) const;

  // Writes replace the value of an existing key in place or append the key
  // (and the section) at the end. Line breaks in keys and values become
  // blanks, as a line-based file cannot hold them.
  void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  void WriteInteger(std::wstring_view section, std::wstring_view key, int value);
  void WriteBool(std::wstring_view section, std::wstring_view key, bool value);
  void WriteFloat(std::wstring_view section, std::wstring_view key, double value);
  void WriteFloatDate(std::wstring_view section, std::wstring_view key, TDateTime value);
  void WriteDateText(std::wstring_view section, std::wstring_view key, TDateTime value);
  void WriteColor(std::wstring_view section, std::wstring_view key, TColor value);

  void EraseSection(std::wstring_view section);
  void DeleteKey(std::wstring_view section, std::wstring_view key);
  void Clear();

  // Writes the whole object to FileName() (temporary file, then rename).
  // False with the reason in `error` when the write fails or when the file
  // existed at Load but could not be read (overwriting it would lose it).
  bool UpdateFile(platform::HostFileError& error);

 private:
  struct Section {
    std::wstring name;
    std::vector<TIniEntry> entries;
    detail::TextIndex index;
  };

  [[nodiscard]] const Section* FindSection(std::wstring_view section) const;
  Section& AddSection(std::wstring_view section);
  static void AddEntry(Section& section, std::wstring key, std::wstring value);
  void RebuildSectionIndex();

  std::wstring fileName_;
  TextEncoding encoding_;
  std::wstring loadError_;
  std::vector<Section> sections_;
  detail::TextIndex sectionIndex_;
};

}  // namespace kelvara
