#include "resources/version.h"

#include <gtest/gtest.h>

#include <regex>

namespace tsy {
namespace {

TEST(Version, ComesFromTheBuild) {
  EXPECT_TRUE(std::regex_match(FileVersion(), std::regex(R"(\d+\.\d+\.\d+)"))) << FileVersion();
  EXPECT_NE(std::string(LegalCopyright()).find("Tessaly32"), std::string::npos);
}

}  // namespace
}  // namespace tsy
