// Times N saves of the configuration with and without flushing the temporary file to disk
// before the rename. Usage: config_save_bench [saves] [directory]
// The directory should be on the disk the configuration normally lives on (not a tmpfs,
// where a flush costs nothing).

#include "config/storage.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

double time_saves(const ombrix::config::Config& base, const std::string& directory, int saves,
                  bool flush) {
    ombrix::config::Config config = base;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < saves; ++i) {
        // A different size each time, as during a window resize.
        config.window.width = 800 + i % 400;
        if (auto saved = ombrix::config::save_config(config, directory, flush); !saved) {
            std::fprintf(stderr, "save failed: %s\n", saved.error().c_str());
            std::exit(1);
        }
    }
    std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

} // namespace

int main(int argc, char** argv) {
    int saves = argc > 1 ? std::atoi(argv[1]) : 200;
    std::string directory =
        argc > 2 ? argv[2] : (std::filesystem::current_path() / "config-save-bench").string();
    if (saves <= 0) {
        std::fprintf(stderr, "usage: %s [saves] [directory]\n", argv[0]);
        return 2;
    }
    ombrix::config::Config config;
    // Warm up: directory creation and the first file.
    time_saves(config, directory, 5, false);

    for (bool flush : {false, true, false, true}) {
        double ms = time_saves(config, directory, saves, flush);
        std::printf("%-16s %5d saves  %9.2f ms total  %8.3f ms/save\n",
                    flush ? "with fdatasync" : "without flush", saves, ms, ms / saves);
    }
    std::filesystem::remove_all(directory);
    return 0;
}
