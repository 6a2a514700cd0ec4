#pragma once

#include "support/temp_files.hpp"

#include <cstdlib>
#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Small scaffolding shared by the terminal unit tests.
namespace ombrix::terminal::testing {

using test_support::ScopedEnv;
using test_support::ScopedUmask;
using test_support::write_file;

// A private temporary directory for one terminal test.
class TempDir : public test_support::TempDir {
public:
    TempDir() : test_support::TempDir("ombrix-terminal") {}
};

// The whole file; a file that cannot be read fails the test.
inline std::string read_file(const std::string& path) {
    gchar* contents = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr)) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::string text(contents, length);
    g_free(contents);
    return text;
}

inline void make_dirs(const std::string& path) {
    ASSERT_EQ(g_mkdir_with_parents(path.c_str(), 0755), 0) << path;
}

inline void make_symlink(const std::string& target, const std::string& link) {
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0) << link;
}

} // namespace ombrix::terminal::testing
