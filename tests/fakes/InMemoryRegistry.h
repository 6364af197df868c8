#pragma once
// A registry held in memory, with the Windows behaviour the program relies on:
// - key and value names compare without regard to ASCII letter case;
// - subkeys enumerate in the order they were created (not sorted), so a test can give any order;
// - a query into a buffer smaller than the value fails with ERROR_MORE_DATA and copies nothing;
// - value bytes are stored and returned exactly as written, whatever the type says;
// - a key opened without KEY_SET_VALUE cannot be written, one without KEY_QUERY_VALUE not read.
// Tests build the tree with CreateKey/Put..., and can make keys unwritable or make enumeration fail.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry/Registry.h"
#include "platform/registry/linux/RegistryProvider.h"

namespace fakes {

using platform_linux::RegistryValue;

class InMemoryRegistry : public win::Registry {
  public:
    InMemoryRegistry();
    ~InMemoryRegistry() override;

    // The test's side; paths are under HKEY_LOCAL_MACHINE. Missing ancestors are created.
    void CreateKey(std::string_view path);
    void Put(std::string_view keyPath, std::string_view name, win::DWORD type,
             std::vector<std::uint8_t> bytes);
    // REG_SZ: the text and one NUL.
    void PutString(std::string_view keyPath, std::string_view name, std::string_view text);
    // REG_MULTI_SZ: each element and its NUL, then one more NUL.
    void PutMultiString(std::string_view keyPath, std::string_view name,
                        const std::vector<std::string>& elements);
    void DeleteKey(std::string_view path);
    std::optional<RegistryValue> Get(std::string_view keyPath, std::string_view name) const;
    bool KeyExists(std::string_view path) const;
    // Opening the key with KEY_SET_VALUE fails with ERROR_ACCESS_DENIED, as without administrator rights.
    void DenyWrites(std::string_view path);
    // Enumerating the key's subkeys fails with this code from index on.
    void FailEnumerationFrom(std::string_view path, win::DWORD index, win::LONG code);
    int OpenKeyCount() const { return static_cast<int>(handles_.size()); }
    int SetValueCalls() const { return setValueCalls_; }

    win::LONG RegOpenKeyEx(win::HKEY parent, std::string_view subKey, win::DWORD options, win::REGSAM access,
                           win::HKEY* result) override;
    win::LONG RegEnumKeyEx(win::HKEY key, win::DWORD index, char* name, win::DWORD* nameSize) override;
    win::LONG RegQueryValueEx(win::HKEY key, std::string_view valueName, win::DWORD* type, std::uint8_t* data,
                              win::DWORD* dataSize) override;
    win::LONG RegSetValueEx(win::HKEY key, std::string_view valueName, win::DWORD type,
                            const std::uint8_t* data, win::DWORD dataSize) override;
    win::LONG RegDeleteValue(win::HKEY key, std::string_view valueName) override;
    win::LONG RegCloseKey(win::HKEY key) override;

  private:
    struct Node {
        std::string name;
        std::vector<std::unique_ptr<Node>> children;
        std::vector<std::pair<std::string, RegistryValue>> values;
        bool denyWrites = false;
        bool deleted = false;
        std::optional<std::pair<win::DWORD, win::LONG>> enumerationFailure;
    };
    struct Handle {
        Node* node = nullptr;
        win::REGSAM access = 0;
    };

    Node* Find(const Node* from, std::string_view path) const;
    Node& Create(std::string_view path);
    RegistryValue* FindValue(Node& node, std::string_view name);
    Handle* HandleOf(win::HKEY key);

    std::unique_ptr<Node> root_;
    std::vector<std::unique_ptr<Node>> deletedNodes_;
    std::map<win::HKEY, std::unique_ptr<Handle>> handles_;
    int setValueCalls_ = 0;
};

}  // namespace fakes
