#pragma once

// The pieces of a command list file as the plug-in writes it.
#include <string>

namespace list_file {
const std::string head = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n\n<list>\n";
const std::string tail = "</list>";

// One entry line; the values go in as they are.
inline std::string line(const std::string& description, const std::string& command,
                        const std::string& message) {
  return "\t<shell description=\"" + description + "\" command=\"" + command + "\" message=\"" + message +
         "\" />\n";
}
}  // namespace list_file
