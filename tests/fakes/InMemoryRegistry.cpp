#include "fakes/InMemoryRegistry.h"

#include <algorithm>
#include <cstring>

#include "platform/registry/linux/KeyPath.h"

namespace fakes {

using platform_linux::KeyNamesEqual;
using platform_linux::SplitKeyPath;

namespace {
constexpr win::LONG kErrorKeyDeleted = 1018;
}  // namespace

InMemoryRegistry::InMemoryRegistry() : root_(std::make_unique<Node>()) {}

InMemoryRegistry::~InMemoryRegistry() = default;

InMemoryRegistry::Node* InMemoryRegistry::Find(const Node* from, std::string_view path) const {
    auto* node = const_cast<Node*>(from);
    for (const std::string& component : SplitKeyPath(path)) {
        const auto child = std::find_if(node->children.begin(), node->children.end(),
                                        [&](const auto& c) { return KeyNamesEqual(c->name, component); });
        if (child == node->children.end())
            return nullptr;
        node = child->get();
    }
    return node;
}

InMemoryRegistry::Node& InMemoryRegistry::Create(std::string_view path) {
    Node* node = root_.get();
    for (const std::string& component : SplitKeyPath(path)) {
        Node* child = Find(node, component);
        if (child == nullptr) {
            node->children.push_back(std::make_unique<Node>());
            child = node->children.back().get();
            child->name = component;
        }
        node = child;
    }
    return *node;
}

RegistryValue* InMemoryRegistry::FindValue(Node& node, std::string_view name) {
    const auto found = std::find_if(node.values.begin(), node.values.end(),
                                    [&](const auto& value) { return KeyNamesEqual(value.first, name); });
    return found == node.values.end() ? nullptr : &found->second;
}

InMemoryRegistry::Handle* InMemoryRegistry::HandleOf(win::HKEY key) {
    const auto found = handles_.find(key);
    return found == handles_.end() ? nullptr : found->second.get();
}

void InMemoryRegistry::CreateKey(std::string_view path) {
    Create(path);
}

void InMemoryRegistry::Put(std::string_view keyPath, std::string_view name, win::DWORD type,
                           std::vector<std::uint8_t> bytes) {
    Node& node = Create(keyPath);
    if (RegistryValue* value = FindValue(node, name)) {
        *value = {type, std::move(bytes)};
        return;
    }
    node.values.emplace_back(std::string(name), RegistryValue{type, std::move(bytes)});
}

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

void InMemoryRegistry::DeleteKey(std::string_view path) {
    const std::vector<std::string> components = SplitKeyPath(path);
    if (components.empty())
        return;
    Node* parent =
        Find(root_.get(), platform_linux::JoinKeyPath({components.begin(), components.end() - 1}, 0));
    if (parent == nullptr)
        return;
    const auto child = std::find_if(parent->children.begin(), parent->children.end(),
                                    [&](const auto& c) { return KeyNamesEqual(c->name, components.back()); });
    if (child == parent->children.end())
        return;
    // Open handles keep pointing at the node: Windows answers them with ERROR_KEY_DELETED.
    (*child)->deleted = true;
    deletedNodes_.push_back(std::move(*child));
    parent->children.erase(child);
}

std::optional<RegistryValue> InMemoryRegistry::Get(std::string_view keyPath, std::string_view name) const {
    Node* node = Find(root_.get(), keyPath);
    if (node == nullptr)
        return std::nullopt;
    RegistryValue* value = const_cast<InMemoryRegistry*>(this)->FindValue(*node, name);
    return value == nullptr ? std::nullopt : std::optional<RegistryValue>(*value);
}

bool InMemoryRegistry::KeyExists(std::string_view path) const {
    return Find(root_.get(), path) != nullptr;
}

void InMemoryRegistry::DenyWrites(std::string_view path) {
    Create(path).denyWrites = true;
}

void InMemoryRegistry::FailEnumerationFrom(std::string_view path, win::DWORD index, win::LONG code) {
    Create(path).enumerationFailure = std::make_pair(index, code);
}

win::LONG InMemoryRegistry::RegOpenKeyEx(win::HKEY parent, std::string_view subKey, win::DWORD,
                                         win::REGSAM access, win::HKEY* result) {
    if (result == nullptr)
        return win::ERROR_INVALID_PARAMETER;
    const Node* from = root_.get();
    if (parent != win::HKEY_LOCAL_MACHINE) {
        const Handle* handle = HandleOf(parent);
        if (handle == nullptr)
            return win::ERROR_INVALID_HANDLE;
        if (handle->node->deleted)
            return kErrorKeyDeleted;
        from = handle->node;
    }
    Node* node = Find(from, subKey);
    if (node == nullptr)
        return win::ERROR_FILE_NOT_FOUND;
    if ((access & win::KEY_SET_VALUE) != 0 && node->denyWrites)
        return win::ERROR_ACCESS_DENIED;
    auto handle = std::make_unique<Handle>(Handle{node, access});
    const auto key = reinterpret_cast<win::HKEY>(handle.get());
    handles_.emplace(key, std::move(handle));
    *result = key;
    return win::ERROR_SUCCESS;
}

win::LONG InMemoryRegistry::RegEnumKeyEx(win::HKEY key, win::DWORD index, char* name, win::DWORD* nameSize) {
    const Handle* handle = HandleOf(key);
    if (handle == nullptr)
        return win::ERROR_INVALID_HANDLE;
    if (handle->node->deleted)
        return kErrorKeyDeleted;
    if ((handle->access & 0x0008) == 0)
        return win::ERROR_ACCESS_DENIED;
    const auto& failure = handle->node->enumerationFailure;
    if (failure && index >= failure->first)
        return failure->second;
    const auto& children = handle->node->children;
    if (index >= children.size())
        return win::ERROR_NO_MORE_ITEMS;
    const std::string& child = children[index]->name;
    if (child.size() + 1 > *nameSize)
        return win::ERROR_MORE_DATA;
    std::memcpy(name, child.c_str(), child.size() + 1);
    *nameSize = static_cast<win::DWORD>(child.size());
    return win::ERROR_SUCCESS;
}

win::LONG InMemoryRegistry::RegQueryValueEx(win::HKEY key, std::string_view valueName, win::DWORD* type,
                                            std::uint8_t* data, win::DWORD* dataSize) {
    const Handle* handle = HandleOf(key);
    if (handle == nullptr)
        return win::ERROR_INVALID_HANDLE;
    if (handle->node->deleted)
        return kErrorKeyDeleted;
    if ((handle->access & win::KEY_QUERY_VALUE) == 0)
        return win::ERROR_ACCESS_DENIED;
    if (data != nullptr && dataSize == nullptr)
        return win::ERROR_INVALID_PARAMETER;
    const RegistryValue* value = FindValue(*handle->node, valueName);
    if (value == nullptr)
        return win::ERROR_FILE_NOT_FOUND;
    if (type != nullptr)
        *type = value->type;
    if (dataSize == nullptr)
        return win::ERROR_SUCCESS;
    const auto size = static_cast<win::DWORD>(value->data.size());
    if (data != nullptr && size > *dataSize) {
        *dataSize = size;
        return win::ERROR_MORE_DATA;
    }
    if (data != nullptr && size > 0)
        std::memcpy(data, value->data.data(), size);
    *dataSize = size;
    return win::ERROR_SUCCESS;
}

win::LONG InMemoryRegistry::RegSetValueEx(win::HKEY key, std::string_view valueName, win::DWORD type,
                                          const std::uint8_t* data, win::DWORD dataSize) {
    ++setValueCalls_;
    const Handle* handle = HandleOf(key);
    if (handle == nullptr)
        return win::ERROR_INVALID_HANDLE;
    if (handle->node->deleted)
        return kErrorKeyDeleted;
    if ((handle->access & win::KEY_SET_VALUE) == 0)
        return win::ERROR_ACCESS_DENIED;
    std::vector<std::uint8_t> bytes;
    if (dataSize > 0)
        bytes.assign(data, data + dataSize);
    if (RegistryValue* value = FindValue(*handle->node, valueName)) {
        *value = {type, std::move(bytes)};
    } else {
        handle->node->values.emplace_back(std::string(valueName), RegistryValue{type, std::move(bytes)});
    }
    return win::ERROR_SUCCESS;
}

win::LONG InMemoryRegistry::RegDeleteValue(win::HKEY key, std::string_view valueName) {
    const Handle* handle = HandleOf(key);
    if (handle == nullptr)
        return win::ERROR_INVALID_HANDLE;
    if ((handle->access & win::KEY_SET_VALUE) == 0)
        return win::ERROR_ACCESS_DENIED;
    auto& values = handle->node->values;
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const auto& value) { return KeyNamesEqual(value.first, valueName); });
    if (found == values.end())
        return win::ERROR_FILE_NOT_FOUND;
    values.erase(found);
    return win::ERROR_SUCCESS;
}

win::LONG InMemoryRegistry::RegCloseKey(win::HKEY key) {
    return handles_.erase(key) == 1 ? win::ERROR_SUCCESS : win::ERROR_INVALID_HANDLE;
}

}  // namespace fakes
