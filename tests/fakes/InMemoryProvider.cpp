#include "fakes/InMemoryProvider.h"

#include <algorithm>

#include "platform/registry/KeyPath.h"

namespace fakes {

using winreg::KeyNamesEqual;
using winreg::SplitKeyPath;

InMemoryProvider::InMemoryProvider() : root_(std::make_unique<Node>()) {}

InMemoryProvider::~InMemoryProvider() = default;

InMemoryProvider::Node* InMemoryProvider::ChildNamed(const Node& node, std::string_view name) {
    const auto child = std::find_if(node.children.begin(), node.children.end(),
                                    [&](const auto& c) { return KeyNamesEqual(c->name, name); });
    return child == node.children.end() ? nullptr : child->get();
}

InMemoryProvider::Node* InMemoryProvider::Find(std::string_view path) const {
    Node* node = root_.get();
    for (const std::string& component : SplitKeyPath(path)) {
        node = ChildNamed(*node, component);
        if (node == nullptr)
            return nullptr;
    }
    return node;
}

InMemoryProvider::Node& InMemoryProvider::Create(std::string_view path) {
    Node* node = root_.get();
    for (const std::string& component : SplitKeyPath(path)) {
        Node* child = ChildNamed(*node, component);
        if (child == nullptr) {
            node->children.push_back(std::make_unique<Node>());
            child = node->children.back().get();
            child->name = component;
        }
        node = child;
    }
    return *node;
}

std::vector<std::pair<std::string, RegistryValue>>::iterator InMemoryProvider::FindValue(
    Node& node, std::string_view name) {
    return std::find_if(node.values.begin(), node.values.end(),
                        [&](const auto& value) { return KeyNamesEqual(value.first, name); });
}

void InMemoryProvider::CreateKey(std::string_view path) {
    Create(path);
}

void InMemoryProvider::Put(std::string_view keyPath, std::string_view name, RegistryValue value) {
    Node& node = Create(keyPath);
    const auto found = FindValue(node, name);
    if (found != node.values.end()) {
        found->second = std::move(value);
        return;
    }
    node.values.emplace_back(std::string(name), std::move(value));
}

void InMemoryProvider::DeleteKey(std::string_view path) {
    const std::vector<std::string> components = SplitKeyPath(path);
    if (components.empty())
        return;
    Node* parent = Find(winreg::JoinKeyPath({components.begin(), components.end() - 1}, 0));
    if (parent == nullptr)
        return;
    std::erase_if(parent->children, [&](const auto& c) { return KeyNamesEqual(c->name, components.back()); });
}

std::optional<RegistryValue> InMemoryProvider::Get(std::string_view keyPath, std::string_view name) const {
    Node* node = Find(keyPath);
    if (node == nullptr)
        return std::nullopt;
    const auto found = FindValue(*node, name);
    return found == node->values.end() ? std::nullopt : std::optional<RegistryValue>(found->second);
}

bool InMemoryProvider::KeyExists(std::string_view path) const {
    return Find(path) != nullptr;
}

void InMemoryProvider::DenyWrites(std::string_view path) {
    Create(path).denyWrites = true;
}

void InMemoryProvider::FailEnumerationFrom(std::string_view path, win::DWORD index, win::LONG code) {
    Create(path).enumerationFailure = std::make_pair(index, code);
}

win::LONG InMemoryProvider::OpenKey(std::string_view path, win::REGSAM access) {
    const Node* node = Find(path);
    if (node == nullptr)
        return win::ERROR_FILE_NOT_FOUND;
    if ((access & win::KEY_SET_VALUE) != 0 && node->denyWrites)
        return win::ERROR_ACCESS_DENIED;
    return win::ERROR_SUCCESS;
}

// A key the tree lacks (one on the way to a mount point) has no subkeys of its own, as in the hive.
win::LONG InMemoryProvider::ListSubKeys(std::string_view path, std::vector<std::string>& names) {
    const Node* node = Find(path);
    if (node == nullptr)
        return win::ERROR_SUCCESS;
    const auto& failure = node->enumerationFailure;
    for (std::size_t index = 0; index < node->children.size(); ++index) {
        if (failure && index == failure->first)
            return failure->second;
        names.push_back(node->children[index]->name);
    }
    return win::ERROR_SUCCESS;
}

win::LONG InMemoryProvider::QueryValue(std::string_view path, std::string_view name, RegistryValue& value) {
    std::optional<RegistryValue> found = Get(path, name);
    if (!found)
        return win::ERROR_FILE_NOT_FOUND;
    value = std::move(*found);
    return win::ERROR_SUCCESS;
}

win::LONG InMemoryProvider::SetValue(std::string_view path, std::string_view name,
                                     const RegistryValue& value) {
    Put(path, name, value);
    return win::ERROR_SUCCESS;
}

win::LONG InMemoryProvider::DeleteValue(std::string_view path, std::string_view name) {
    Node* node = Find(path);
    const auto named = [&](const auto& value) { return KeyNamesEqual(value.first, name); };
    return node != nullptr && std::erase_if(node->values, named) > 0 ? win::ERROR_SUCCESS
                                                                     : win::ERROR_FILE_NOT_FOUND;
}

}  // namespace fakes
