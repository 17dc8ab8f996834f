#pragma once
#include <stdexcept>
#include <string>
#include <vector>

namespace tilvane::cli {

// Wrong arguments: the message is followed by a pointer to the command's help.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int run_info(const std::vector<std::string>& args);
int run_convert(const std::vector<std::string>& args);
int run_mosaic(const std::vector<std::string>& args);
int run_extract(const std::vector<std::string>& args);
int run_demo(const std::vector<std::string>& args);
int run_compare(const std::vector<std::string>& args);
int run_tiles(const std::vector<std::string>& args);

}  // namespace tilvane::cli
