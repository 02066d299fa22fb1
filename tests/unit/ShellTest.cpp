#include "platform/Shell.h"

#include <gtest/gtest.h>

#include "platform/portable/PortableServices.h"

namespace tolv::platform {
namespace {

TEST(ShellOpen, RecordsEachRequestInOrder) {
  portable::ClearShellRequests();
  EXPECT_TRUE(ShellOpen("http://www.example.example/"));
  EXPECT_TRUE(ShellOpen("mailto:someone@example.example"));
  EXPECT_EQ(portable::ShellRequests(),
            (std::vector<std::string>{"http://www.example.example/", "mailto:someone@example.example"}));
  portable::ClearShellRequests();
  EXPECT_TRUE(portable::ShellRequests().empty());
}

}  // namespace
}  // namespace tolv::platform
