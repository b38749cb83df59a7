#include "RoundTripTree.h"

#include <map>
#include <tuple>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/RegDataText.h"

namespace kelvara::test {
namespace {

using platform::HKey;
using Bytes = std::vector<std::uint8_t>;

struct Value {
  std::uint32_t type;
  Bytes data;
  bool anyData = false;  // only the type is compared
  [[nodiscard]] bool Matches(const Value& actual) const {
    return type == actual.type && (anyData || data == actual.data);
  }
};
// Key path below the base ("" the base itself) -> value name -> value.
using Tree = std::map<std::wstring, std::map<std::wstring, Value>>;

Bytes Text(std::wstring_view text, bool withNul = true) { return ToUtf16LeBytes(text, withNul); }

Tree ExpectedTree() {
  Bytes big(3000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
  Tree tree;
  tree[L""] = {
      {L"", {platform::kRegSz, Text(L"C:\\a\"b")}},
      {L"x\\y", {platform::kRegDword, {1, 0, 0, 0}}},
      {L"quote\"name", {platform::kRegSz, Text(L"")}},
      {L"eq=and]bracket [", {platform::kRegSz, Text(L"[HKEY_LOCAL_MACHINE\\not a key]")}},
      {L"\u00e9t\u00e9 \u65e5\u672c", {platform::kRegSz, Text(L"\u00fcber \u65e5\u672c \U0001F600")}},
      {L"no nul", {platform::kRegSz, Text(L"ab", false)}},
      {L"inner nul", {platform::kRegSz, Text(std::wstring(L"a\0b", 3))}},
      {L"odd size", {platform::kRegSz, {0x61, 0x00, 0x00}}},
      {L"line breaks", {platform::kRegSz, Text(L"one\r\ntwo\nthree")}},
      {L"long text", {platform::kRegSz, Text(std::wstring(10000, L'w') + L"\\\"end")}},
      {L"expand", {platform::kRegExpandSz, Text(L"%SystemRoot%\\system32")}},
      {L"empty binary", {platform::kRegBinary, {}}},
      {L"binary", {platform::kRegBinary, {0x0A, 0x1B, 0xFF}}},
      {L"big binary", {platform::kRegBinary, big}},
      {L"dword max", {platform::kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}}},
      {L"short dword", {platform::kRegDword, {0x01, 0x02}}},
      {L"big endian", {platform::kRegDwordBigEndian, {0, 0, 0, 1}}},
      {L"qword", {platform::kRegQword, {1, 2, 3, 4, 5, 6, 7, 0x88}}},
      {L"multi", {platform::kRegMultiSz, Text(std::wstring(L"a\0b\0", 4))}},
      {L"none", {platform::kRegNone, {}}},
      {L"none with data", {platform::kRegNone, {1, 2}}},
  };
  tree[L"Sub"] = {};
  tree[L"Sub\\Deep"] = {{L"deep", {platform::kRegSz, Text(L"value")}}};
  tree[L"Empty"] = {};
  tree[L"\u00dcn\u00efcode \u65e5\u672c"] = {{L"", {platform::kRegSz, Text(L"x")}}};
  tree[L"with space"] = {};
  tree[L"a]b"] = {};
  return tree;
}

bool IsText(std::uint32_t type) {
  return type == platform::kRegSz || type == platform::kRegExpandSz || type == platform::kRegMultiSz;
}

// The tree as it comes back from `peer`.
Tree ExpectedTree(RoundTripPeer peer) {
  Tree tree = ExpectedTree();
  if (peer == RoundTripPeer::kExact) return tree;
  for (auto& [path, values] : tree) {
    for (auto& [name, value] : values) {
      Bytes& data = value.data;
      const std::size_t units = data.size() / 2;
      if (IsText(value.type) && units > 0 && (data[2 * units - 2] != 0 || data[2 * units - 1] != 0)) {
        data.insert(data.end(), {0, 0});
      }
      if (peer != RoundTripPeer::kWineExport) continue;
      if (value.type == platform::kRegSz) {
        const std::wstring text = FromUtf16LeBytes(data.data(), data.size());
        data = Text(text.substr(0, text.find(L'\0')));
      }
      if (value.type == platform::kRegDword && data.size() != 4) value.anyData = true;
    }
  }
  return tree;
}

void ReadTree(platform::RegistryApi& api, HKey key, const std::wstring& path, Tree& tree) {
  auto& values = tree[path];
  std::wstring name;
  for (std::uint32_t i = 0; api.EnumValue(key, i, name) == 0; ++i) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    Bytes data;
    if (api.QueryValue(key, name, type, nullptr, size) != 0) continue;
    data.resize(size);
    if (api.QueryValue(key, name, type, &data, size) != 0) continue;
    data.resize(size);
    values[name] = {type, data, false};
  }
  std::vector<std::wstring> children;
  for (std::uint32_t i = 0; api.EnumKey(key, i, name) == 0; ++i) children.push_back(name);
  for (const std::wstring& child : children) {
    HKey opened = 0;
    if (api.OpenKey(key, child, platform::kKeyRead, opened) != 0) continue;
    const platform::UniqueKey sub(api, opened);
    ReadTree(api, sub.get(), path.empty() ? child : path + L"\\" + child, tree);
  }
}

std::string Describe(const Value& value) { return std::to_string(value.type) + ":" + ToUtf8(HexBytes(value.data)); }

}  // namespace

void WriteRoundTripTree(HKey root, const std::wstring& base) {
  platform::RegistryApi& api = platform::Registry();
  for (const auto& [path, values] : ExpectedTree()) {
    HKey created = 0;
    if (api.CreateKey(root, path.empty() ? base : base + L"\\" + path, platform::kKeyAllAccess, created) != 0) continue;
    const platform::UniqueKey key(api, created);
    for (const auto& [name, value] : values) {
      api.SetValue(key.get(), name, value.type, value.data.data(), static_cast<std::uint32_t>(value.data.size()));
    }
  }
}

std::vector<std::string> CompareRoundTripTree(HKey root, const std::wstring& base, RoundTripPeer peer) {
  platform::RegistryApi& api = platform::Registry();
  std::vector<std::string> differences;
  HKey opened = 0;
  if (api.OpenKey(root, base, platform::kKeyRead, opened) != 0) return {"the tree's key is missing"};
  const platform::UniqueKey key(api, opened);
  Tree actual;
  ReadTree(api, key.get(), L"", actual);
  const Tree expected = ExpectedTree(peer);
  for (const auto& [path, values] : expected) {
    const auto found = actual.find(path);
    if (found == actual.end()) {
      differences.push_back("missing key \"" + ToUtf8(path) + "\"");
      continue;
    }
    for (const auto& [name, value] : values) {
      const auto got = found->second.find(name);
      if (got == found->second.end()) {
        differences.push_back("missing value \"" + ToUtf8(name) + "\" of \"" + ToUtf8(path) + "\"");
      } else if (!value.Matches(got->second)) {
        differences.push_back("value \"" + ToUtf8(name) + "\" of \"" + ToUtf8(path) + "\" is " + Describe(got->second) +
                              " instead of " + Describe(value));
      }
    }
    for (const auto& [name, value] : found->second) {
      if (!values.contains(name)) differences.push_back("extra value \"" + ToUtf8(name) + "\"");
    }
  }
  for (const auto& [path, values] : actual) {
    if (!expected.contains(path)) differences.push_back("extra key \"" + ToUtf8(path) + "\"");
  }
  return differences;
}

}  // namespace kelvara::test
