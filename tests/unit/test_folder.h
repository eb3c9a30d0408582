// A fresh scratch folder per test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/text.h"

namespace velmo::testing {

class TestFolder {
  public:
    TestFolder() {
        static std::atomic<int> counter{0};
        root_ = platform::JoinPath(platform::ProgramFolder(), "scratch");
        platform::MakeFolder(root_);
        path_ = platform::JoinPath(root_, Unique(counter++));
        RemoveTree(path_);
        platform::MakeFolders(path_);
    }
    ~TestFolder() { RemoveTree(path_); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string Path(std::string_view name) const { return platform::JoinPath(path_, name); }

    static void RemoveTree(const std::string& path) {
        if (auto entries = platform::ListFolder(path)) {
            for (const auto& e : *entries) {
                std::string child = platform::JoinPath(path, e.name);
                if (e.isFolder)
                    RemoveTree(child);
                else
                    platform::RemoveFile(child);
            }
        }
        platform::RemoveFolder(path);
    }

  private:
    // Named after the running test: ctest runs each test in a process of its own.
    static std::string Unique(int n) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "t";
        for (char& c : name)
            if (c == '/') c = '_';
        return name + "." + std::to_string(n);
    }
    std::string root_;
    std::string path_;
};

}  // namespace velmo::testing
