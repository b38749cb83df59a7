// The registry facility over a RegistryStore: Windows registry functions
// with Windows' result codes, handles and access rights.
//
// Handles carry the rights they were opened with, as on Windows: reading
// values and key statistics needs KEY_QUERY_VALUE, enumerating sub-keys
// KEY_ENUMERATE_SUB_KEYS, writing or deleting values KEY_SET_VALUE;
// otherwise code 5. A handle whose key has been deleted gives code 1018.
// QueryValue with a data vector takes `size` as the buffer's capacity: a
// larger value gives 234 and the size needed; else the vector holds
// exactly the value's bytes.
// The hive functions SaveKey, RestoreKey, ReplaceKey and ConnectRegistry
// give code 50 (not supported): a snapshot has no hive files to write.
// LoadKey mounts a hive registered with RegistryStore::RegisterHiveFile
// (code 2 for an unknown file, 183 when the key exists, 32 when the hive
// is loaded elsewhere); UnLoadKey detaches it again, keeping it registered.
// Privileges are not checked.
#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/RegistryApi.h"
#include "platform/snapshot/RegistryStore.h"

namespace kelvara::platform {

class SnapshotRegistry final : public RegistryApi {
 public:
  explicit SnapshotRegistry(std::shared_ptr<RegistryStore> store);
  ~SnapshotRegistry() override;

  [[nodiscard]] RegistryStore& Store() const noexcept { return *store_; }

  long OpenKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) override;
  long CreateKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) override;
  long CloseKey(HKey key) override;
  long FlushKey(HKey key) override;
  long DeleteKey(HKey parent, const std::wstring& subKey, std::uint32_t viewAccess) override;
  long DeleteValue(HKey key, const std::wstring& name) override;
  long QueryInfoKey(HKey key, RegKeyStats& stats) override;
  long EnumKey(HKey key, std::uint32_t index, std::wstring& name) override;
  long EnumValue(HKey key, std::uint32_t index, std::wstring& name) override;
  long QueryValue(HKey key, const std::wstring& name, std::uint32_t& type, std::vector<std::uint8_t>* data,
                  std::uint32_t& size) override;
  long SetValue(HKey key, const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override;

  long SaveKey(HKey key, const std::wstring& fileName) override;
  long RestoreKey(HKey key, const std::wstring& fileName) override;
  long LoadKey(HKey root, const std::wstring& subKey, const std::wstring& fileName) override;
  long UnLoadKey(HKey root, const std::wstring& subKey) override;
  long ReplaceKey(HKey key, const std::wstring& subKey, const std::wstring& newFile,
                  const std::wstring& oldFile) override;
  long ConnectRegistry(const std::wstring& machineName, HKey root, HKey& result) override;

  std::wstring ErrorMessage(long code) override;

 private:
  // The sub-keys of a merged classes key, built on first enumeration and
  // kept while the store's sub-key lists stay unchanged.
  struct MergedListing {
    std::mutex mutex;
    std::uint64_t generation = 0;
    bool built = false;
    std::vector<const KeyNode*> children;
  };
  struct OpenedKey {
    KeyPath path;
    KeyRef ref;
    std::uint32_t rights = 0;
    MergedListing listing;
  };
  // What an operation works on: an open handle or a predefined root.
  struct Target {
    std::shared_ptr<OpenedKey> opened;
    KeyPath path;
    KeyRef ref;
    std::uint32_t rights = 0;
    MergedListing* listing = nullptr;
  };

  // Finds the key of `key` (the store lock held); 0, 6, 2 or 1018.
  long Resolve(HKey key, Target& target);
  // The full canonical path of `subKey` below `parent`.
  long PathBelow(const Target& parent, const std::wstring& subKey, std::uint32_t access, KeyPath& path) const;
  HKey AddHandle(KeyPath path, KeyRef ref, std::uint32_t rights);
  const std::vector<const KeyNode*>& MergedChildren(const Target& target) const;
  long OpenOrCreate(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result, bool create);

  std::shared_ptr<RegistryStore> store_;
  std::mutex handlesMutex_;
  std::unordered_map<HKey, std::shared_ptr<OpenedKey>> handles_;
  HKey nextHandle_ = 0x100;
  MergedListing classesRootListing_;
};

}  // namespace kelvara::platform
