// The shipped shared object: its name and what it exports.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {
std::string output(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return text;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  pclose(pipe);
  return text;
}
}  // namespace

TEST(PluginExports, SonameIsDorvaneSo0) {
  std::string dynamic = output(std::string("readelf -d ") + DORVANE_TEST_PLUGIN);
  EXPECT_NE(dynamic.find("Library soname: [dorvane.so.0]"), std::string::npos) << dynamic;
}

TEST(PluginExports, OnlyPluginExecIsExported) {
  std::istringstream symbols(output(std::string("nm -D --defined-only ") + DORVANE_TEST_PLUGIN));
  std::string address, type, name;
  std::vector<std::string> exported;
  while (symbols >> address >> type >> name) exported.push_back(name + " (" + type + ")");
  EXPECT_EQ(exported, std::vector<std::string>{"plugin_exec (T)"});
}
