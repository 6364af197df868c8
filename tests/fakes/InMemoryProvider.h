#pragma once
// A tree of keys held in memory, served to the registry router as a provider. Subkeys and values keep
// the order they were made in (not sorted), so a test can give any order; value bytes are kept exactly
// as written, whatever the type says. Tests build the tree directly and can make a key refuse writing
// or make its enumeration fail part-way.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry/RegistryProvider.h"

namespace fakes {

using winreg::RegistryValue;

class InMemoryProvider : public winreg::RegistryProvider {
  public:
    InMemoryProvider();
    ~InMemoryProvider() override;

    // The test's side. Missing ancestors are created.
    void CreateKey(std::string_view path);
    void Put(std::string_view keyPath, std::string_view name, RegistryValue value);
    void DeleteKey(std::string_view path);
    std::optional<RegistryValue> Get(std::string_view keyPath, std::string_view name) const;
    bool KeyExists(std::string_view path) const;
    // Opening the key with KEY_SET_VALUE fails with ERROR_ACCESS_DENIED, as without administrator rights.
    void DenyWrites(std::string_view path);
    // Enumerating the key's subkeys fails with this code from index on.
    void FailEnumerationFrom(std::string_view path, win::DWORD index, win::LONG code);

    win::LONG OpenKey(std::string_view path, win::REGSAM access) override;
    win::LONG ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    win::LONG QueryValue(std::string_view path, std::string_view name, RegistryValue& value) override;
    // Makes the key where it is missing, as the hive does for a key on the way to a mount point.
    win::LONG SetValue(std::string_view path, std::string_view name, const RegistryValue& value) override;
    win::LONG DeleteValue(std::string_view path, std::string_view name) override;

  private:
    struct Node {
        std::string name;
        std::vector<std::unique_ptr<Node>> children;
        std::vector<std::pair<std::string, RegistryValue>> values;
        bool denyWrites = false;
        std::optional<std::pair<win::DWORD, win::LONG>> enumerationFailure;
    };

    static Node* ChildNamed(const Node& node, std::string_view name);
    Node* Find(std::string_view path) const;
    Node& Create(std::string_view path);
    static std::vector<std::pair<std::string, RegistryValue>>::iterator FindValue(Node& node,
                                                                                  std::string_view name);

    std::unique_ptr<Node> root_;
};

}  // namespace fakes
