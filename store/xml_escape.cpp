#include "store/xml_escape.h"

namespace {
// The reference for a byte that cannot stand as it is, "" for one that is
// left out, null for one written unchanged.
const char* replacement(unsigned char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\t':
      return "&#9;";
    case '\n':
      return "&#10;";
    case '\r':
      return "&#13;";
    default:
      return xmlCanHold(c) ? nullptr : "";
  }
}
}  // namespace

void appendXmlEscaped(eString& out, const eString& value) {
  // Runs of plain bytes go in whole: most values are nothing else.
  size_t plain = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const char* reference = replacement(static_cast<unsigned char>(value[i]));
    if (!reference) continue;
    out.append(value, plain, i - plain);
    out += reference;
    plain = i + 1;
  }
  out.append(value, plain, eString::npos);
}
