#pragma once
// A registry held in memory for tests of the program: the registry router, which keeps the Windows rules
// the program relies on, over one in-memory tree of keys. Tests build the tree with CreateKey/Put..., and
// can make keys unwritable or make enumeration fail.

#include <optional>
#include <string>
#include <vector>

#include "fakes/InMemoryProvider.h"
#include "platform/registry/RegistryRouter.h"

namespace fakes {

class InMemoryRegistry : public winreg::RegistryRouter {
  public:
    InMemoryRegistry();

    // The test's side; paths are under HKEY_LOCAL_MACHINE. Missing ancestors are created.
    void CreateKey(std::string_view path) { tree_.CreateKey(path); }
    void Put(std::string_view keyPath, std::string_view name, win::DWORD type,
             std::vector<std::uint8_t> bytes) {
        tree_.Put(keyPath, name, {type, std::move(bytes)});
    }
    // REG_SZ: the text and one NUL.
    void PutString(std::string_view keyPath, std::string_view name, std::string_view text);
    // REG_MULTI_SZ: each element and its NUL, then one more NUL.
    void PutMultiString(std::string_view keyPath, std::string_view name,
                        const std::vector<std::string>& elements);
    void DeleteKey(std::string_view path) { tree_.DeleteKey(path); }
    std::optional<RegistryValue> Get(std::string_view keyPath, std::string_view name) const {
        return tree_.Get(keyPath, name);
    }
    bool KeyExists(std::string_view path) const { return tree_.KeyExists(path); }
    // Opening the key with KEY_SET_VALUE fails with ERROR_ACCESS_DENIED, as without administrator rights.
    void DenyWrites(std::string_view path) { tree_.DenyWrites(path); }
    // Enumerating the key's subkeys fails with this code from index on.
    void FailEnumerationFrom(std::string_view path, win::DWORD index, win::LONG code) {
        tree_.FailEnumerationFrom(path, index, code);
    }
    // Every call, refused ones included.
    int SetValueCalls() const { return setValueCalls_; }

    win::LONG RegSetValueEx(win::HKEY key, std::string_view valueName, win::DWORD type,
                            const std::uint8_t* data, win::DWORD dataSize) override;

  private:
    explicit InMemoryRegistry(std::unique_ptr<InMemoryProvider> tree);
    InMemoryRegistry(InMemoryProvider& tree, std::unique_ptr<InMemoryProvider>&& owner);

    InMemoryProvider& tree_;
    int setValueCalls_ = 0;
};

}  // namespace fakes
