#pragma once

#include "support/temp_files.hpp"

#include <string>

// Small helpers shared by the configuration tests: a private temporary directory, scoped
// environment variables and whole-file reads and writes.
namespace ombrix::config::testing_support {

using test_support::read_file;
using test_support::ScopedEnv;
using test_support::ScopedUmask;
using test_support::write_file;

// A private temporary directory for one configuration test.
class TempDir : public test_support::TempDir {
public:
    TempDir() : test_support::TempDir("ombrix-config") {}
};

inline std::string data_file(const std::string& name) {
    return read_file(std::string(OMBRIX_TEST_DATA_DIR) + "/config/" + name);
}

} // namespace ombrix::config::testing_support
