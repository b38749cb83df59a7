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
  prepared.literal = p.size() > 2 && p.find_first_of(L"*?", 1) == p.size() - 1;
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
    if (!p.literal) return MatchesWildcard(location, p.mask);
    return location.find(std::wstring_view(p.mask).substr(1, p.mask.size() - 2)) != std::wstring_view::npos;
  });
}

}  // namespace kelvara
