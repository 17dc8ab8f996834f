#pragma once
#include <stdexcept>
#include <string>
#include <vector>

namespace tilvane::cli {

// Wrong arguments: the message is followed by a pointer to the command's help.
class Usage_Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int Run_Info(const std::vector<std::string>& args);
int Run_Convert(const std::vector<std::string>& args);
int Run_Mosaic(const std::vector<std::string>& args);
int Run_Extract(const std::vector<std::string>& args);
int Run_Demo(const std::vector<std::string>& args);
int Run_Compare(const std::vector<std::string>& args);
int Run_Tiles(const std::vector<std::string>& args);
int Run_Library(const std::vector<std::string>& args);

}  // namespace tilvane::cli
