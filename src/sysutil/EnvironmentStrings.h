// The table of folder names the program expands in paths written with
// "%NAME%" references: the special folders by their short names
// ("%APPDATA%", "%PROGRAM_FILES%", ...), "%LOCAL_APPDATA_LOW%", and the
// usual environment variables. Built once at start-up, read-only after.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

struct TEnvironmentStringRec {
  std::wstring Name;
  std::wstring Value;
};

class TEnvironmentStrings {
 public:
  // Fills the table from the installed platform: the named special folders
  // 0 to 60, then LOCAL_APPDATA_LOW, then the environment variables. An
  // entry is added only when its value is not empty and its name (any
  // case) is not in the table yet.
  void Build();

  // `Path` with every "%Name%" of the table (any case) replaced by its
  // value, entries applied in table order; unknown names stay as written.
  [[nodiscard]] std::wstring ExpandPath(const std::wstring& Path) const;
  [[nodiscard]] int GetPathCount() const;
  // The value of entry `Index`; empty when out of range.
  [[nodiscard]] std::wstring GetPathName(int Index) const;
  [[nodiscard]] const std::vector<TEnvironmentStringRec>& PathList() const noexcept { return pathList_; }

 private:
  void Add(std::wstring_view name, std::wstring value);

  std::vector<TEnvironmentStringRec> pathList_;
};

// Builds the process-wide table; called at start-up after the system facts
// and folder values.
void InitEnvironmentStrings();
const TEnvironmentStrings& EnvironmentStrings();
// EnvironmentStrings().ExpandPath(text).
std::wstring ExpandPathVars(const std::wstring& text);

}  // namespace kelvara
