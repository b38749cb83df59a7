#include "scanner/ExclusionList.h"

#include <algorithm>

#include "platform/Text.h"
#include "sysutil/TextFormat.h"

namespace kelvara {

TExclusionList::Prepared TExclusionList::Prepare(const std::wstring& pattern) {
  Prepared prepared;
  std::wstring& p = prepared.mask;
  p = LowerCase(pattern);
  if (p.empty() || p.front() != L'*') p.insert(p.begin(), L'*');
  if (p.back() != L'*') p.push_back(L'*');
  if (p.size() < 3 || p.find(L'?') != std::wstring::npos || p.find(L"**") != std::wstring::npos) return prepared;
  for (std::size_t start = 1; start < p.size();) {
    const std::size_t star = p.find(L'*', start);
    prepared.texts.push_back(p.substr(start, star - start));
    start = star + 1;
  }
  return prepared;
}

void TExclusionList::Assign(const std::vector<std::wstring>& patterns) {
  Clear();
  for (const auto& p : patterns) Add(p);
}

void TExclusionList::Clear() {
  fItems.clear();
  fPrepared.clear();
}

void TExclusionList::Add(const std::wstring& pattern) {
  fItems.push_back(pattern);
  fPrepared.push_back(Prepare(pattern));
}

void TExclusionList::RemoveFirst(const std::wstring& pattern) {
  const auto it = std::find(fItems.begin(), fItems.end(), pattern);
  if (it == fItems.end()) return;
  fPrepared.erase(fPrepared.begin() + (it - fItems.begin()));
  fItems.erase(it);
}

void TExclusionList::RemoveLast(std::size_t count) {
  const std::size_t n = std::min(count, fItems.size());
  fItems.resize(fItems.size() - n);
  fPrepared.resize(fPrepared.size() - n);
}

bool TExclusionList::Matches(const std::wstring& lowerLocation) const {
  const std::wstring_view location = lowerLocation;
  return std::any_of(fPrepared.begin(), fPrepared.end(), [location](const Prepared& p) {
    if (p.texts.empty()) return MatchesWildcard(location, p.mask);
    // Each "*" may take any run, so the earliest place of every text leaves
    // the most room for the texts after it.
    std::size_t from = 0;
    for (const std::wstring& text : p.texts) {
      const std::size_t found = location.find(text, from);
      if (found == std::wstring_view::npos) return false;
      from = found + text.size();
    }
    return true;
  });
}

}  // namespace kelvara
