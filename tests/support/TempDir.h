#pragma once
// A folder of its own for each test, named after the test, created empty and removed afterwards
// whatever permissions the test left on what it holds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class TempDir {
  public:
    TempDir() {
        std::string name = "ostrelle-";
        if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info())
            name += std::string(test->name()).substr(0, kNameLength) + "-";
        // Parameterised tests have slashes in their names.
        for (char& c : name) {
            if (c == '/')
                c = '_';
        }
        path = MakeUniqueFolder(name);
        // Tests hand parts of it to daemons running as other users.
        std::filesystem::permissions(
            path, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                      std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                      std::filesystem::perms::others_exec);
    }
    ~TempDir() {
        // Tests take write permission away from folders to see writes refused; give it back, or the
        // folder could not be emptied by anyone but root.
        std::error_code ignored;
        namespace fs = std::filesystem;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (fs::recursive_directory_iterator it(path, ignored), end; !ignored && it != end;
             it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string operator/(const std::string& name) const { return (path / name).string(); }
    void Write(const std::string& name, const std::string& content) const {
        std::filesystem::create_directories((path / name).parent_path());
        std::ofstream(path / name, std::ios::binary) << content;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path path;

  private:
    // A new folder in the temporary folder, named name and a random number: creating it fails when the
    // name is taken, so no one else's folder is ever used.
    static std::filesystem::path MakeUniqueFolder(const std::string& name) {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = std::filesystem::temp_directory_path() / (name + std::to_string(random()));
            if (std::filesystem::create_directory(candidate))
                return candidate;
        }
        throw std::filesystem::filesystem_error("create_directory", std::filesystem::temp_directory_path(),
                                                std::make_error_code(std::errc::file_exists));
    }

    // Unix socket paths, which tests put in here, are limited to 107 bytes.
    static constexpr std::size_t kNameLength = 40;
};
