#include "platform/snapshot/RegistryStore.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace kelvara::platform {
namespace {

// FILETIME (100 ns since 1601) of the current time.
std::uint64_t FileTimeNow() {
  constexpr std::uint64_t kUnixEpochAsFileTime = 116444736000000000ull;
  const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(since1970).count() / 100;
  return kUnixEpochAsFileTime + static_cast<std::uint64_t>(ticks);
}

// Where the two halves of the merged classes view live.
const std::vector<std::u16string>& MachineClassesPrefix() {
  static const std::vector<std::u16string> prefix{u"SOFTWARE", u"Classes"};
  return prefix;
}

KeyNode* Walk(KeyNode* node, const std::vector<std::u16string>& parts) {
  for (const std::u16string& part : parts) {
    if (node == nullptr) return nullptr;
    node = node->FindChild(part);
  }
  return node;
}

bool Refused(const KeyNode& node) { return node.Has(KeyNode::kReadsRefused) || node.Has(KeyNode::kWritesRefused); }

}  // namespace

RegistryStore::RegistryStore(const std::wstring& userSid, bool is64BitWindows)
    : userSid_(ToUtf16(userSid)),
      is64_(is64BitWindows),
      machine_(std::make_unique<KeyNode>(u"MACHINE")),
      users_(std::make_unique<KeyNode>(u"USER")) {}

RegistryStore::~RegistryStore() = default;

std::unique_lock<std::shared_mutex> RegistryStore::LockExclusive() {
  std::unique_lock lock(mutex_);
  std::erase_if(deleted_, [](const std::unique_ptr<KeyNode>& node) { return !node->IsPinned(); });
  return lock;
}

KeyNode& RegistryStore::BaseRoot(KeyBase base) const { return base == KeyBase::Users ? *users_ : *machine_; }

std::uint32_t RegistryStore::CurrentControlSet() const {
  const KeyNode* select = Walk(machine_.get(), {u"SYSTEM", u"Select"});
  const ValueEntry* current = select != nullptr ? select->FindValue(u"Current") : nullptr;
  std::uint32_t number = 0;
  if (current != nullptr && current->Size() == sizeof number) std::memcpy(&number, current->Data(), sizeof number);
  return number != 0 ? number : 1;
}

void RegistryStore::Canonicalize(KeyPath& path, bool view32) const {
  ResolveLinks(path, UsesCurrentControlSet(path) ? CurrentControlSet() : 1);
  if (view32 && is64_) MapTo32BitView(path);
}

KeyRef RegistryStore::Find(const KeyPath& path) const {
  if (path.base != KeyBase::Classes) return KeyRef{Walk(&BaseRoot(path.base), path.parts), nullptr};
  KeyNode* user = Walk(Walk(users_.get(), {userSid_, u"Software", u"Classes"}), path.parts);
  KeyNode* machine = Walk(Walk(machine_.get(), MachineClassesPrefix()), path.parts);
  if (user != nullptr) return KeyRef{user, machine};
  return KeyRef{machine, nullptr};
}

long RegistryStore::ConsumeWrite() {
  if (!faultArmed_) return kErrorSuccess;
  if (writesLeft_ == 0) return faultCode_;
  --writesLeft_;
  return kErrorSuccess;
}

void RegistryStore::Touch(KeyNode& node, bool structural) {
  node.SetLastWriteTime(FileTimeNow());
  if (structural) ++generation_;
}

long RegistryStore::CreateChild(KeyNode& parent, std::u16string_view name, KeyNode*& child) {
  child = parent.FindChild(name);
  if (child != nullptr) return kErrorSuccess;
  if (Refused(parent)) return kErrorAccessDenied;
  if (const long code = ConsumeWrite(); code != kErrorSuccess) return code;
  child = &parent.AddChild(name);
  Touch(*child, true);
  Touch(parent, false);
  return kErrorSuccess;
}

long RegistryStore::CreateAlong(KeyNode& from, const std::vector<std::u16string>& parts, std::size_t first,
                                KeyNode*& result) {
  KeyNode* node = &from;
  for (std::size_t i = first; i < parts.size(); ++i) {
    if (const long code = CreateChild(*node, parts[i], node); code != kErrorSuccess) return code;
  }
  result = node;
  return kErrorSuccess;
}

long RegistryStore::Create(const KeyPath& path, KeyRef& result) {
  if (path.base == KeyBase::Classes) return CreateClasses(path, result);
  KeyNode* node = nullptr;
  const long code = CreateAlong(BaseRoot(path.base), path.parts, 0, node);
  if (code == kErrorSuccess) result = KeyRef{node, nullptr};
  return code;
}

// New classes keys go where their parent is: below the user's classes
// when the parent key exists there, else below the machine's. Keys
// directly under the classes root always go to the machine's.
long RegistryStore::CreateClasses(const KeyPath& path, KeyRef& result) {
  KeyNode* user = Walk(users_.get(), {userSid_, u"Software", u"Classes"});
  KeyNode* machine = Walk(machine_.get(), MachineClassesPrefix());
  for (std::size_t i = 0; i < path.parts.size(); ++i) {
    const std::u16string& part = path.parts[i];
    KeyNode* nextUser = user != nullptr ? user->FindChild(part) : nullptr;
    KeyNode* nextMachine = machine != nullptr ? machine->FindChild(part) : nullptr;
    if (nextUser == nullptr && nextMachine == nullptr) {
      long code = kErrorSuccess;
      if (user != nullptr && i > 0) {
        code = CreateChild(*user, part, nextUser);
      } else {
        if (machine == nullptr) code = CreateAlong(*machine_, MachineClassesPrefix(), 0, machine);
        if (code == kErrorSuccess) code = CreateChild(*machine, part, nextMachine);
      }
      if (code != kErrorSuccess) return code;
    }
    user = nextUser;
    machine = nextMachine;
  }
  if (user == nullptr && machine == nullptr) {
    // The classes root itself, missing on both sides: the machine's.
    if (const long code = CreateAlong(*machine_, MachineClassesPrefix(), 0, machine); code != kErrorSuccess) {
      return code;
    }
  }
  result = user != nullptr ? KeyRef{user, machine} : KeyRef{machine, nullptr};
  return kErrorSuccess;
}

void RegistryStore::FindForDelete(const KeyPath& path, KeyNode*& parent, KeyNode*& target) const {
  KeyPath parentPath{path.base, {path.parts.begin(), path.parts.end() - 1}};
  const KeyRef parentRef = Find(parentPath);
  const std::u16string& name = path.parts.back();
  parent = parentRef.node;
  target = parent != nullptr ? parent->FindChild(name) : nullptr;
  if (target == nullptr && parentRef.merged != nullptr) {
    parent = parentRef.merged;
    target = parent->FindChild(name);
  }
}

long RegistryStore::Delete(const KeyPath& path) {
  if (path.parts.empty()) return kErrorAccessDenied;
  KeyNode* parent = nullptr;
  KeyNode* target = nullptr;
  FindForDelete(path, parent, target);
  if (target == nullptr) return kErrorFileNotFound;
  if (Refused(*target) || target->Has(KeyNode::kHiveRoot) || target->ChildCount() != 0) return kErrorAccessDenied;
  if (const long code = ConsumeWrite(); code != kErrorSuccess) return code;
  std::unique_ptr<KeyNode> removed = parent->TakeChild(*target);
  Touch(*parent, true);
  if (removed->IsPinned()) {
    removed->Set(KeyNode::kDeleted, true);
    deleted_.push_back(std::move(removed));
  }
  return kErrorSuccess;
}

long RegistryStore::Load(KeyBase base, const std::u16string& name, const std::wstring& fileName) {
  auto hive = hives_.find(fileName);
  if (hive == hives_.end()) return kErrorFileNotFound;
  if (hive->second.mounted != nullptr) return kErrorSharingViolation;
  KeyNode& root = BaseRoot(base);
  if (root.FindChild(name) != nullptr) return kErrorAlreadyExists;
  std::unique_ptr<KeyNode> tree = std::move(hive->second.tree);
  tree->Rename(name);
  tree->Set(KeyNode::kHiveRoot, true);
  hive->second.mounted = &root.AdoptChild(std::move(tree));
  Touch(root, true);
  return kErrorSuccess;
}

long RegistryStore::Unload(KeyBase base, const std::u16string& name) {
  KeyNode& root = BaseRoot(base);
  KeyNode* key = root.FindChild(name);
  if (key == nullptr) return kErrorFileNotFound;
  if (!key->Has(KeyNode::kHiveRoot)) return kErrorInvalidParameter;
  if (key->IsTreePinned()) return kErrorAccessDenied;
  auto hive =
      std::find_if(hives_.begin(), hives_.end(), [key](const auto& entry) { return entry.second.mounted == key; });
  std::unique_ptr<KeyNode> tree = root.TakeChild(*key);
  tree->Set(KeyNode::kHiveRoot, false);
  Touch(root, true);
  if (hive != hives_.end()) {
    hive->second.tree = std::move(tree);
    hive->second.mounted = nullptr;
  }
  return kErrorSuccess;
}

long RegistryStore::SetFlag(HKey root, const std::wstring& subKey, KeyNode::Flag flag, bool on) {
  std::optional<KeyPath> path = PredefinedRootPath(root, userSid_);
  if (!path || !SplitSubKey(subKey, path->parts)) return kErrorInvalidParameter;
  auto lock = LockExclusive();
  Canonicalize(*path, false);
  const KeyRef key = Find(*path);
  if (!key) return kErrorFileNotFound;
  key.node->Set(flag, on);
  if (key.merged != nullptr) key.merged->Set(flag, on);
  return kErrorSuccess;
}

long RegistryStore::SetReadsRefused(HKey root, const std::wstring& subKey, bool refused) {
  return SetFlag(root, subKey, KeyNode::kReadsRefused, refused);
}

long RegistryStore::SetWritesRefused(HKey root, const std::wstring& subKey, bool refused) {
  return SetFlag(root, subKey, KeyNode::kWritesRefused, refused);
}

void RegistryStore::FailWritesAfter(std::uint32_t successfulWrites, long code) {
  auto lock = LockExclusive();
  faultArmed_ = true;
  writesLeft_ = successfulWrites;
  faultCode_ = code;
}

void RegistryStore::ClearWriteFault() {
  auto lock = LockExclusive();
  faultArmed_ = false;
}

long RegistryStore::RegisterHiveFile(const std::wstring& fileName, std::unique_ptr<KeyNode> tree) {
  auto lock = LockExclusive();
  HiveFile& hive = hives_[fileName];
  if (hive.mounted != nullptr) return kErrorSharingViolation;
  hive.tree = tree ? std::move(tree) : std::make_unique<KeyNode>(u"");
  return kErrorSuccess;
}

long RegistryStore::DetachTree(HKey root, const std::wstring& subKey, std::unique_ptr<KeyNode>& tree) {
  std::optional<KeyPath> path = PredefinedRootPath(root, userSid_);
  if (!path || !SplitSubKey(subKey, path->parts)) return kErrorInvalidParameter;
  auto lock = LockExclusive();
  Canonicalize(*path, false);
  if (path->parts.empty()) return kErrorInvalidParameter;
  KeyNode* parent = nullptr;
  KeyNode* target = nullptr;
  FindForDelete(*path, parent, target);
  if (target == nullptr) return kErrorFileNotFound;
  // A loaded hive leaves through UnLoadKey, which keeps its file.
  if (target->Has(KeyNode::kHiveRoot) || target->IsTreePinned()) return kErrorAccessDenied;
  tree = parent->TakeChild(*target);
  Touch(*parent, true);
  return kErrorSuccess;
}

}  // namespace kelvara::platform
