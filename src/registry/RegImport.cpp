#include "registry/RegImport.h"

#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/NefoRegistry.h"
#include "registry/RegFileParser.h"
#include "registry/RegFun.h"
#include "registry/RegPaths.h"

namespace kelvara {

using platform::HKey;
using platform::UniqueKey;

namespace {

std::wstring AtLine(const std::wstring& source, std::size_t line) {
  return source + L", line " + Widen(std::to_string(line)) + L": ";
}

class CheckOnly final : public RegFileSink {
 public:
  void BeginKey(std::size_t, HKey, std::wstring_view) override {}
  void DeleteKey(std::size_t, HKey, std::wstring_view) override {}
  void SetValue(std::size_t, std::wstring_view, std::uint32_t, std::span<const std::uint8_t>) override {}
  void DeleteValue(std::size_t, std::wstring_view) override {}
};

// Applies the operations through the registry facility. The keys along
// the current key's path stay open between key lines, so a depth-first
// export creates each key with one call below its parent.
class RegistryApplier final : public RegFileSink {
 public:
  RegistryApplier(platform::RegistryApi& api, const std::wstring& source) : api_(api), source_(source) {}

  void BeginKey(std::size_t line, HKey root, std::wstring_view path) override {
    current_ = 0;
    scratch_.assign(path);
    const std::uint32_t access = GetRegAccess(scratch_, false, true);
    if (root != root_ || access != access_) DropOpenKeys();
    root_ = root;
    access_ = access;
    // Keep the deepest open key that is the new key or one of its parents.
    while (!levels_.empty()) {
      const std::size_t end = levels_.back().end;
      if (end <= path.size() && (end == path.size() || path[end] == L'\\') &&
          SameText(path.substr(0, end), std::wstring_view(openPath_).substr(0, end))) {
        break;
      }
      levels_.pop_back();
    }
    if (path.empty()) {
      current_ = root;
      return;
    }
    if (!levels_.empty() && levels_.back().end == path.size()) {
      current_ = levels_.back().key.get();
      return;
    }
    const HKey parent = levels_.empty() ? root : levels_.back().key.get();
    scratch_.assign(path.substr(levels_.empty() ? 0 : levels_.back().end + 1));
    HKey created = 0;
    const long code = api_.CreateKey(parent, scratch_, access, created);
    if (code != 0) {
      Failure(line, L"cannot create the key " + KeyName(root, path), code);
      return;
    }
    levels_.push_back({path.size(), UniqueKey(api_, created)});
    openPath_.assign(path);
    current_ = created;
  }

  void DeleteKey(std::size_t line, HKey root, std::wstring_view path) override {
    // Open keys may lie in the deleted tree.
    DropOpenKeys();
    current_ = 0;
    scratch_.assign(path);
    TNefoRegistry reg(GetRegAccess(scratch_, false, true));
    reg.SetRootKey(root);
    if (!reg.DeleteKey(scratch_) && reg.LastError() != platform::kErrorFileNotFound) {
      Failure(line, L"cannot delete the key " + KeyName(root, path), reg.LastError());
    }
  }

  void SetValue(std::size_t line, std::wstring_view name, std::uint32_t type,
                std::span<const std::uint8_t> data) override {
    if (current_ == 0) return;  // its key failed, which is reported already
    name_.assign(name);
    const long code = api_.SetValue(current_, name_, type, data.data(), static_cast<std::uint32_t>(data.size()));
    if (code != 0) Failure(line, L"cannot set the value " + ValueName(name), code);
  }

  void DeleteValue(std::size_t line, std::wstring_view name) override {
    if (current_ == 0) return;
    name_.assign(name);
    const long code = api_.DeleteValue(current_, name_);
    if (code != 0 && code != platform::kErrorFileNotFound)
      Failure(line, L"cannot delete the value " + ValueName(name), code);
  }

  bool Succeeded(std::wstring& error) const {
    if (failures_ == 0) return true;
    error = firstFailure_;
    if (failures_ > 1) error += L" (" + Widen(std::to_string(failures_)) + L" operations failed in all)";
    return false;
  }

 private:
  struct Level {
    std::size_t end;  // length of the key's path
    UniqueKey key;
  };

  void DropOpenKeys() {
    levels_.clear();
    openPath_.clear();
    root_ = 0;
  }

  static std::wstring KeyName(HKey root, std::wstring_view path) {
    std::wstring name = RootKeyLongName(root);
    if (!path.empty()) name += L"\\" + std::wstring(path);
    return name;
  }

  std::wstring ValueName(std::wstring_view name) const {
    return (name.empty() ? std::wstring(L"@") : L"\"" + std::wstring(name) + L"\"") + L" of " +
           KeyName(root_, openPath_.substr(0, levels_.empty() ? 0 : levels_.back().end));
  }

  void Failure(std::size_t line, const std::wstring& what, long code) {
    if (failures_++ == 0) firstFailure_ = AtLine(source_, line) + what + L": " + api_.ErrorMessage(code);
  }

  platform::RegistryApi& api_;
  const std::wstring& source_;
  HKey root_ = 0;
  std::uint32_t access_ = 0;
  std::vector<Level> levels_;
  std::wstring openPath_;  // the path of the deepest open key
  HKey current_ = 0;       // where values go; 0 when the key failed
  std::wstring scratch_;
  std::wstring name_;
  std::size_t failures_ = 0;
  std::wstring firstFailure_;
};

}  // namespace

bool CheckRegData(std::span<const std::uint8_t> bytes, const std::wstring& sourceName, std::wstring& error) {
  CheckOnly sink;
  RegSyntaxError syntax;
  if (ParseRegFile(bytes, sink, syntax)) return true;
  error = AtLine(sourceName, syntax.line) + syntax.what;
  return false;
}

bool ImportRegData(std::span<const std::uint8_t> bytes, const std::wstring& sourceName, std::wstring& error) {
  if (!CheckRegData(bytes, sourceName, error)) return false;
  RegistryApplier applier(platform::Registry(), sourceName);
  RegSyntaxError syntax;
  ParseRegFile(bytes, applier, syntax);
  return applier.Succeeded(error);
}

bool ReadRegFileBytes(const std::wstring& fileName, std::vector<std::uint8_t>& bytes, std::wstring& error) {
  platform::HostFileError failure;
  if (platform::HostFiles().ReadFile(fileName, bytes, failure)) return true;
  error = failure.message.find(fileName) != std::wstring::npos ? failure.message : fileName + L": " + failure.message;
  return false;
}

bool ImportRegFile(const std::wstring& fileName, std::wstring& error) {
  std::vector<std::uint8_t> bytes;
  return ReadRegFileBytes(fileName, bytes, error) && ImportRegData(bytes, fileName, error);
}

}  // namespace kelvara
