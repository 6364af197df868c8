#include "fakes/InMemoryRegistry.h"

namespace fakes {

InMemoryRegistry::InMemoryRegistry() : InMemoryRegistry(std::make_unique<InMemoryProvider>()) {}

// The router owns the tree: the reference is taken before ownership moves to it.
InMemoryRegistry::InMemoryRegistry(std::unique_ptr<InMemoryProvider> tree)
    : InMemoryRegistry(*tree, std::move(tree)) {}

InMemoryRegistry::InMemoryRegistry(InMemoryProvider& tree, std::unique_ptr<InMemoryProvider>&& owner)
    : RegistryRouter(std::move(owner)), tree_(tree) {}

void InMemoryRegistry::PutString(std::string_view keyPath, std::string_view name, std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    Put(keyPath, name, win::REG_SZ, std::move(bytes));
}

void InMemoryRegistry::PutMultiString(std::string_view keyPath, std::string_view name,
                                      const std::vector<std::string>& elements) {
    std::vector<std::uint8_t> bytes;
    for (const std::string& element : elements) {
        bytes.insert(bytes.end(), element.begin(), element.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    Put(keyPath, name, win::REG_MULTI_SZ, std::move(bytes));
}

win::LONG InMemoryRegistry::RegSetValueEx(win::HKEY key, std::string_view valueName, win::DWORD type,
                                          const std::uint8_t* data, win::DWORD dataSize) {
    ++setValueCalls_;
    return RegistryRouter::RegSetValueEx(key, valueName, type, data, dataSize);
}

}  // namespace fakes
