#include "host/elabel.h"
#include "plugin/shell.h"

// Positions are fixed; the font size only sets the height of one-line widgets.

namespace {
// A labelled input field, one row of the form at height y.
eTextInputField* createInputRow(eWidget* window, int y, int rowHeight, const char* label, const char* help,
                                const char* editHelp) {
  auto* description = new eLabel(window, 0, 0, "eLabel");
  description->move(ePoint(10, y));
  description->resize(eSize(110, rowHeight));
  description->setText(label);

  auto* field = new eTextInputField(window, description, nullptr, "eNumber");
  field->move(ePoint(130, y));
  field->resize(eSize(320, rowHeight));
  field->setHelpText(help);
  field->setEditHelpText(editHelp);
  field->loadDeco();
  return field;
}
}  // namespace

void shell::createForm(int rowHeight) {
  const int width = getClientSize().width();
  inp_command = createInputRow(this, 10, rowHeight, "Command:", "press ok to edit command",
                               "Entering command (Yellow a>A)");
  inp_description = createInputRow(this, 50, rowHeight, "Description:", "description for command (optional)",
                                   "Entering description (Yellow a>A)");

  chk_message = new eCheckbox(this, 0, 1, false, "eCheckBox");
  chk_message->move(ePoint(10, 90));
  chk_message->resize(eSize(width - 20, rowHeight));
  chk_message->setText("  Show messages ?");

  listfeld =
      new eListBox<eListBoxEntryText>(this, nullptr, 1, eListBoxEntryText::getEntryHeight(), "eListBox");
  listfeld->move(ePoint(10, 135));
  listfeld->resize(eSize(width - 20, 175));
  listfeld->loadDeco();
}

void shell::createLegend(int rowHeight) {
  const eSize client = getClientSize();
  static const struct {
    int x;
    const char* color;
    const char* text;
  } legend[] = {{30, "std_dred", "delete"},
                {130, "std_dgreen", "edit"},
                {230, "std_dyellow", "new"},
                {330, "std_dblue", "save"}};
  for (const auto& key : legend) {
    auto* label = new eLabel(this, 0, 0, "eLabel");
    label->move(ePoint(key.x, client.height() - 95));
    label->resize(eSize(100, rowHeight));
    label->setProperty("align", "center");
    label->setProperty("vcenter", "");
    label->setProperty("backgroundColor", key.color);
    label->setText(key.text);
  }

  auto* status = new eStatusBar(this, "eStatusBar");
  status->move(ePoint(5, client.height() - 50));
  status->resize(eSize(client.width() - 10, 50));
  status->loadDeco();
}
