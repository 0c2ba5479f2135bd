#include "tests/support/temp_folder.h"

#include <filesystem>
#include <random>
#include <stdexcept>

namespace glimmora::test {

TempFolder::TempFolder() {
    namespace fs = std::filesystem;
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("glimmora-test-" + std::to_string(rd()));
        if (fs::create_directory(candidate)) {
            path_ = candidate.string();
            path_ += static_cast<char>(fs::path::preferred_separator);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace glimmora::test
