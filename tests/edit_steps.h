#pragma once

// The form steps that the editing tests share.
#include <sys/stat.h>

#include <string>

#include "tests/harness.h"
#include "tests/list_file.h"

namespace edit {
using list_file::head;
using list_file::line;
using list_file::tail;

// Types into a field of the form as a user does: OK, the text, OK. The
// focus goes there first, as the up and down keys would take it.
inline void typeInto(Session& session, eTextInputField* (*field)(), const std::string& text) {
  session.then([field] { Session::mainWindow()->setFocus(field()); }).key(Key::ok).type(text).key(Key::ok);
}

inline void toggleCheck(Session& session) {
  session.then([] { Session::mainWindow()->setFocus(Session::checkbox()); }).key(Key::ok);
}

// Each save replaces the file, so a file with the same inode was not rewritten.
inline ino_t inodeOf(const std::string& fixed) {
  struct stat status {};
  return stat(Session::path(fixed).c_str(), &status) == 0 ? status.st_ino : 0;
}

struct Form {
  std::string command, description;
  int checked;
  bool operator==(const Form& other) const {
    return command == other.command && description == other.description && checked == other.checked;
  }
};

inline Form form() {
  return {Session::commandField()->getText(), Session::descriptionField()->getText(),
          Session::checkbox()->isChecked()};
}

inline void PrintTo(const Form& f, std::ostream* out) {
  *out << "{" << quoted(f.command) << ", " << quoted(f.description) << ", " << f.checked << "}";
}
}  // namespace edit
