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
  // A pattern lower-cased and wrapped in "*". Most patterns have no other
  // wildcard than single "*": "*a*b*" matches exactly the locations that
  // contain "a" and after it "b", which substring searches find much faster
  // than the wildcard matcher; the rest ("?", "**") keep the matcher.
  struct Prepared {
    std::wstring mask;
    std::vector<std::wstring> texts;  // the texts between the "*", when searched for
  };
  static Prepared Prepare(const std::wstring& pattern);

  std::vector<std::wstring> fItems;
  // The prepared patterns, kept in step with fItems so that a finding is
  // not paying for the preparation again.
  std::vector<Prepared> fPrepared;
};

}  // namespace kelvara
