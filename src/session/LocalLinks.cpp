#include "session/LocalLinks.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace qx {

bool LeadsOutOf(const std::string& path, const std::string& root) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(path, error);
    if (error) {
        return true;
    }
    const fs::path top = fs::weakly_canonical(root, error);
    if (error) {
        return true;
    }
    const auto mismatch = std::mismatch(top.begin(), top.end(), resolved.begin(), resolved.end());
    // "/a/b/" ends with an empty component that "/a/b/c" does not have at that place.
    return mismatch.first != top.end() && !mismatch.first->empty();
}

} // namespace qx
