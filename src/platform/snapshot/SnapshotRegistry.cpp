#include "platform/snapshot/SnapshotRegistry.h"

#include <algorithm>

#include "platform/Text.h"
#include "platform/snapshot/SystemMessages.h"

namespace kelvara::platform {
namespace {

constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kGenericWrite = 0x40000000u;
constexpr std::uint32_t kGenericExecute = 0x20000000u;
constexpr std::uint32_t kGenericAll = 0x10000000u;
constexpr std::uint32_t kMaximumAllowed = 0x02000000u;
constexpr std::uint32_t kKeyWrite = 0x20006u;

// The specific rights an access mask asks for (generic rights mapped as
// Windows maps them for keys, view bits dropped).
std::uint32_t RequestedRights(std::uint32_t access) {
  std::uint32_t rights =
      access & ~(kKeyWow64Res | kGenericRead | kGenericWrite | kGenericExecute | kGenericAll | kMaximumAllowed);
  if ((access & (kGenericRead | kGenericExecute)) != 0) rights |= kKeyRead;
  if ((access & kGenericWrite) != 0) rights |= kKeyWrite;
  if ((access & (kGenericAll | kMaximumAllowed)) != 0) rights |= kKeyAllAccess;
  return rights;
}

// The rights a handle to `node` gets, or code 5.
long GrantRights(const KeyRef& ref, std::uint32_t access, std::uint32_t& granted) {
  const KeyNode& node = *ref.node;
  if (node.Has(KeyNode::kReadsRefused)) return kErrorAccessDenied;
  granted = RequestedRights(access);
  if (node.Has(KeyNode::kWritesRefused) && (granted & ~kKeyRead) != 0) {
    if ((access & kMaximumAllowed) == 0) return kErrorAccessDenied;
    granted &= kKeyRead;
  }
  return kErrorSuccess;
}

bool WritesRefused(const KeyNode& node) {
  return node.Has(KeyNode::kReadsRefused) || node.Has(KeyNode::kWritesRefused);
}

std::uint32_t Count(std::size_t n) { return static_cast<std::uint32_t>(n); }

}  // namespace

SnapshotRegistry::SnapshotRegistry(std::shared_ptr<RegistryStore> store) : store_(std::move(store)) {}

SnapshotRegistry::~SnapshotRegistry() {
  for (auto& [handle, opened] : handles_) {
    opened->ref.node->Unpin();
    if (opened->ref.merged != nullptr) opened->ref.merged->Unpin();
  }
}

long SnapshotRegistry::Resolve(HKey key, Target& target) {
  if (UniqueKey::IsPredefined(key)) {
    std::optional<KeyPath> path = PredefinedRootPath(key, store_->UserSid());
    if (!path) return kErrorInvalidHandle;
    store_->Canonicalize(*path, false);
    target.path = std::move(*path);
    target.ref = store_->Find(target.path);
    target.rights = kKeyAllAccess;
    target.listing = key == kHkeyClassesRoot ? &classesRootListing_ : nullptr;
    return target.ref ? kErrorSuccess : kErrorFileNotFound;
  }
  {
    std::lock_guard lock(handlesMutex_);
    auto it = handles_.find(key);
    if (it == handles_.end()) return kErrorInvalidHandle;
    target.opened = it->second;
  }
  target.path = target.opened->path;
  target.ref = target.opened->ref;
  target.rights = target.opened->rights;
  target.listing = &target.opened->listing;
  return target.ref.node->Has(KeyNode::kDeleted) ? kErrorKeyDeleted : kErrorSuccess;
}

long SnapshotRegistry::PathBelow(const Target& parent, const std::wstring& subKey, std::uint32_t access,
                                 KeyPath& path) const {
  if ((access & kKeyWow64Res) == kKeyWow64Res) return kErrorInvalidParameter;
  path = parent.path;
  if (!SplitSubKey(subKey, path.parts)) return kErrorBadPathname;
  // An empty sub-key names the parent itself, whatever the view.
  if (path.parts.size() != parent.path.parts.size()) store_->Canonicalize(path, (access & kKeyWow64_32Key) != 0);
  return kErrorSuccess;
}

HKey SnapshotRegistry::AddHandle(KeyPath path, KeyRef ref, std::uint32_t rights) {
  ref.node->Pin();
  if (ref.merged != nullptr) ref.merged->Pin();
  auto opened = std::make_shared<OpenedKey>();
  opened->path = std::move(path);
  opened->ref = ref;
  opened->rights = rights;
  std::lock_guard lock(handlesMutex_);
  HKey handle = nextHandle_;
  nextHandle_ += 4;
  if (UniqueKey::IsPredefined(nextHandle_)) nextHandle_ = 0x80000010u;
  handles_.emplace(handle, std::move(opened));
  return handle;
}

long SnapshotRegistry::OpenOrCreate(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result,
                                    bool create) {
  result = 0;
  auto shared = create ? std::shared_lock<std::shared_mutex>() : store_->LockShared();
  auto exclusive = create ? store_->LockExclusive() : std::unique_lock<std::shared_mutex>();
  Target base;
  long code = Resolve(parent, base);
  // Creating below a predefined root whose key is missing creates it.
  if (code == kErrorFileNotFound && create && UniqueKey::IsPredefined(parent)) code = kErrorSuccess;
  if (code != kErrorSuccess) return code;
  KeyPath path;
  if ((code = PathBelow(base, subKey, access, path)) != kErrorSuccess) return code;
  KeyRef ref;
  if (create) {
    if ((code = store_->Create(path, ref)) != kErrorSuccess) return code;
  } else if (!(ref = store_->Find(path))) {
    return kErrorFileNotFound;
  }
  std::uint32_t rights = 0;
  if ((code = GrantRights(ref, access, rights)) != kErrorSuccess) return code;
  result = AddHandle(std::move(path), ref, rights);
  return kErrorSuccess;
}

long SnapshotRegistry::OpenKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) {
  return OpenOrCreate(parent, subKey, access, result, false);
}

long SnapshotRegistry::CreateKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) {
  return OpenOrCreate(parent, subKey, access, result, true);
}

long SnapshotRegistry::CloseKey(HKey key) {
  if (UniqueKey::IsPredefined(key)) return kErrorSuccess;
  std::shared_ptr<OpenedKey> opened;
  {
    std::lock_guard lock(handlesMutex_);
    auto it = handles_.find(key);
    if (it == handles_.end()) return kErrorInvalidHandle;
    opened = std::move(it->second);
    handles_.erase(it);
  }
  // Deleted keys are freed by the store's next writer once unpinned.
  opened->ref.node->Unpin();
  if (opened->ref.merged != nullptr) opened->ref.merged->Unpin();
  return kErrorSuccess;
}

long SnapshotRegistry::FlushKey(HKey key) {
  auto lock = store_->LockShared();
  Target target;
  return Resolve(key, target);
}

long SnapshotRegistry::DeleteKey(HKey parent, const std::wstring& subKey, std::uint32_t viewAccess) {
  auto lock = store_->LockExclusive();
  Target base;
  long code = Resolve(parent, base);
  if (code != kErrorSuccess) return code;
  KeyPath path;
  if ((code = PathBelow(base, subKey, viewAccess & kKeyWow64Res, path)) != kErrorSuccess) return code;
  return store_->Delete(path);
}

long SnapshotRegistry::DeleteValue(HKey key, const std::wstring& name) {
  auto lock = store_->LockExclusive();
  Target target;
  if (const long code = Resolve(key, target); code != kErrorSuccess) return code;
  if ((target.rights & kKeySetValue) == 0 || WritesRefused(*target.ref.node)) return kErrorAccessDenied;
  const std::u16string valueName = ToUtf16(name);
  if (target.ref.node->FindValue(valueName) == nullptr) return kErrorFileNotFound;
  if (const long code = store_->ConsumeWrite(); code != kErrorSuccess) return code;
  target.ref.node->RemoveValue(valueName);
  store_->Touch(*target.ref.node, false);
  return kErrorSuccess;
}

const std::vector<const KeyNode*>& SnapshotRegistry::MergedChildren(const Target& target) const {
  MergedListing& listing = *target.listing;
  std::lock_guard lock(listing.mutex);
  if (listing.built && listing.generation == store_->Generation()) return listing.children;
  const KeyNode& first = *target.ref.node;
  const KeyNode& second = *target.ref.merged;
  listing.children.clear();
  listing.children.reserve(first.ChildCount() + second.ChildCount());
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < first.ChildCount() || j < second.ChildCount()) {
    if (j == second.ChildCount()) {
      listing.children.push_back(&first.ChildAt(i++));
    } else if (i == first.ChildCount()) {
      listing.children.push_back(&second.ChildAt(j++));
    } else {
      const int order = CompareNames(first.ChildAt(i).Name(), second.ChildAt(j).Name());
      listing.children.push_back(order <= 0 ? &first.ChildAt(i) : &second.ChildAt(j));
      if (order <= 0) ++i;
      if (order >= 0) ++j;
    }
  }
  listing.generation = store_->Generation();
  listing.built = true;
  return listing.children;
}

long SnapshotRegistry::QueryInfoKey(HKey key, RegKeyStats& stats) {
  stats = RegKeyStats{};
  auto lock = store_->LockShared();
  Target target;
  if (const long code = Resolve(key, target); code != kErrorSuccess) return code;
  if ((target.rights & kKeyQueryValue) == 0) return kErrorAccessDenied;
  const KeyNode& node = *target.ref.node;
  auto countChild = [&stats](const KeyNode& child) {
    ++stats.subKeys;
    stats.maxSubKeyLen = std::max(stats.maxSubKeyLen, Count(child.Name().size()));
  };
  if (target.ref.merged != nullptr) {
    for (const KeyNode* child : MergedChildren(target)) countChild(*child);
  } else {
    for (std::size_t i = 0; i < node.ChildCount(); ++i) countChild(node.ChildAt(i));
  }
  for (std::size_t i = 0; i < node.ValueCount(); ++i) {
    const ValueEntry& value = node.ValueAt(i);
    ++stats.values;
    stats.maxValueNameLen = std::max(stats.maxValueNameLen, Count(value.Name().size()));
    stats.maxValueLen = std::max(stats.maxValueLen, value.Size());
  }
  stats.lastWriteTime = node.LastWriteTime();
  return kErrorSuccess;
}

long SnapshotRegistry::EnumKey(HKey key, std::uint32_t index, std::wstring& name) {
  auto lock = store_->LockShared();
  Target target;
  if (const long code = Resolve(key, target); code != kErrorSuccess) return code;
  if ((target.rights & kKeyEnumerateSubKeys) == 0) return kErrorAccessDenied;
  const KeyNode* child = nullptr;
  if (target.ref.merged != nullptr) {
    const auto& children = MergedChildren(target);
    if (index < children.size()) child = children[index];
  } else if (index < target.ref.node->ChildCount()) {
    child = &target.ref.node->ChildAt(index);
  }
  if (child == nullptr) return kErrorNoMoreItems;
  name = FromUtf16(child->Name());
  return kErrorSuccess;
}

long SnapshotRegistry::EnumValue(HKey key, std::uint32_t index, std::wstring& name) {
  auto lock = store_->LockShared();
  Target target;
  if (const long code = Resolve(key, target); code != kErrorSuccess) return code;
  if ((target.rights & kKeyQueryValue) == 0) return kErrorAccessDenied;
  if (index >= target.ref.node->ValueCount()) return kErrorNoMoreItems;
  name = FromUtf16(target.ref.node->ValueAt(index).Name());
  return kErrorSuccess;
}

long SnapshotRegistry::QueryValue(HKey key, const std::wstring& name, std::uint32_t& type,
                                  std::vector<std::uint8_t>* data, std::uint32_t& size) {
  auto lock = store_->LockShared();
  Target target;
  if (const long code = Resolve(key, target); code != kErrorSuccess) return code;
  if ((target.rights & kKeyQueryValue) == 0) return kErrorAccessDenied;
  const ValueEntry* value = target.ref.node->FindValue(ToUtf16(name));
  if (value == nullptr) return kErrorFileNotFound;
  type = value->Type();
  if (data != nullptr) {
    // With a buffer, `size` is its capacity, as for RegQueryValueExW.
    if (value->Size() > size) {
      data->clear();
      size = value->Size();
      return kErrorMoreData;
    }
    data->assign(value->Data(), value->Data() + value->Size());
  }
  size = value->Size();
  return kErrorSuccess;
}

long SnapshotRegistry::SetValue(HKey key, const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
                                std::uint32_t size) {
  if (data == nullptr && size != 0) return kErrorInvalidParameter;
  auto lock = store_->LockExclusive();
  Target target;
  if (const long code = Resolve(key, target); code != kErrorSuccess) return code;
  if ((target.rights & kKeySetValue) == 0 || WritesRefused(*target.ref.node)) return kErrorAccessDenied;
  if (const long code = store_->ConsumeWrite(); code != kErrorSuccess) return code;
  target.ref.node->SetValue(ToUtf16(name), type, data, size);
  store_->Touch(*target.ref.node, false);
  return kErrorSuccess;
}

long SnapshotRegistry::SaveKey(HKey, const std::wstring&) { return kErrorNotSupported; }

long SnapshotRegistry::RestoreKey(HKey, const std::wstring&) { return kErrorNotSupported; }

long SnapshotRegistry::ReplaceKey(HKey, const std::wstring&, const std::wstring&, const std::wstring&) {
  return kErrorNotSupported;
}

long SnapshotRegistry::ConnectRegistry(const std::wstring&, HKey, HKey& result) {
  result = 0;
  return kErrorNotSupported;
}

namespace {

// A hive is mounted as a direct sub-key of HKEY_USERS or HKEY_LOCAL_MACHINE.
long HiveMountPoint(HKey root, const std::wstring& subKey, KeyBase& base, std::u16string& name) {
  if (root != kHkeyUsers && root != kHkeyLocalMachine) return kErrorInvalidParameter;
  std::vector<std::u16string> parts;
  if (!SplitSubKey(subKey, parts) || parts.size() != 1) return kErrorInvalidParameter;
  base = root == kHkeyUsers ? KeyBase::Users : KeyBase::Machine;
  name = std::move(parts.front());
  return kErrorSuccess;
}

}  // namespace

long SnapshotRegistry::LoadKey(HKey root, const std::wstring& subKey, const std::wstring& fileName) {
  KeyBase base{};
  std::u16string name;
  if (const long code = HiveMountPoint(root, subKey, base, name); code != kErrorSuccess) return code;
  auto lock = store_->LockExclusive();
  return store_->Load(base, name, fileName);
}

long SnapshotRegistry::UnLoadKey(HKey root, const std::wstring& subKey) {
  KeyBase base{};
  std::u16string name;
  if (const long code = HiveMountPoint(root, subKey, base, name); code != kErrorSuccess) return code;
  auto lock = store_->LockExclusive();
  return store_->Unload(base, name);
}

std::wstring SnapshotRegistry::ErrorMessage(long code) { return SystemMessageText(code); }

}  // namespace kelvara::platform
