#pragma once

#include "host/estring.h"

// Whether a byte can stand in a document declared as ISO-8859-1; the
// control bytes other than tab, line feed and carriage return cannot.
inline bool xmlCanHold(unsigned char c) { return c >= 0x20 || c == '\t' || c == '\n' || c == '\r'; }

// Appends a value as it goes between the double quotes of an attribute, so
// that the parser hands back exactly these bytes: markup characters and the
// blanks that attribute parsing would turn into spaces become references,
// bytes that no document can hold are left out.
void appendXmlEscaped(eString& out, const eString& value);
