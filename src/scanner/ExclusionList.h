// The scanner's exclusion patterns: the user's patterns, then the built-in
// ignore list, then temporary patterns of the running category. Each
// pattern matches anywhere in a location text ("*" is put around it), and
// case does not matter.
#pragma once

#include <string>
#include <vector>

namespace kelvara {

class TExclusionList {
 public:
  void Assign(const std::vector<std::wstring>& patterns);
  void Clear();
  void Add(const std::wstring& pattern);
  // Removes the first pattern equal to `pattern`; nothing when absent.
  void RemoveFirst(const std::wstring& pattern);
  // Removes the last `count` patterns (fewer when the list is shorter).
  void RemoveLast(std::size_t count);
  [[nodiscard]] const std::vector<std::wstring>& Items() const { return fItems; }
  // `lowerLocation` is the lower-cased location text.
  [[nodiscard]] bool Matches(const std::wstring& lowerLocation) const;

 private:
  static std::wstring Prepare(const std::wstring& pattern);

  std::vector<std::wstring> fItems;
  // The same patterns lower-cased and wrapped in "*", kept in step with
  // fItems so that a finding is not paying for the preparation again.
  std::vector<std::wstring> fPrepared;
};

}  // namespace kelvara
