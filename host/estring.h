#pragma once

#include <algorithm>
#include <string>

// Byte string of the host: no character set, no terminator inside.
class eString : public std::string {
 public:
  eString() = default;
  eString(const char* text) : std::string(text ? text : "") {}
  eString(const char* data, size_type length) : std::string(data, length) {}
  eString(const std::string& text) : std::string(text) {}

  eString& removeChars(char unwanted) {
    erase(std::remove(begin(), end(), unwanted), end());
    return *this;
  }
};
