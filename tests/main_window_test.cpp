// The main window: what plugin_exec shows, its layout, its error box and
// how the highlight drives the status bar.
#include <gtest/gtest.h>

#include "host/eskin.h"
#include "standin/screen.h"
#include "tests/harness.h"

namespace {
const char* const twoEntries =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n\n<list>\n"
    "\t<shell description=\"Uptime\" command=\"uptime\" message=\"false\" />\n"
    "\t<shell description=\"Listing\" command=\"ls -l /tmp\" message=\"true\" />\n"
    "</list>";

struct Expected {
  const char* kind;
  int x, y, width, height;
  const char* text;
};

// Every widget of the main window, in creation order, for one-line rows of h.
std::vector<Expected> layout(int h) {
  return {{"eLabel", 10, 10, 110, h, "Command:"},
          {"eTextInputField", 130, 10, 320, h, ""},
          {"eLabel", 10, 50, 110, h, "Description:"},
          {"eTextInputField", 130, 50, 320, h, ""},
          {"eCheckbox", 10, 90, 440, h, "  Show messages ?"},
          {"eListBox", 10, 135, 440, 175, ""},
          {"eLabel", 30, 315, 100, h, "delete"},
          {"eLabel", 130, 315, 100, h, "edit"},
          {"eLabel", 230, 315, 100, h, "new"},
          {"eLabel", 330, 315, 100, h, "save"},
          {"eStatusBar", 5, 360, 450, 50, "Command: uptime\nshow messages: false"}};
}

void expectLayout(int h) {
  eWidget* window = Session::mainWindow();
  EXPECT_EQ(window->getText(), "Dorvane v1.0.5 by Tavrik");
  EXPECT_EQ(clientOrigin(window), ePoint(130, 100));
  EXPECT_EQ(window->getClientSize(), eSize(460, 410));
  const auto& children = window->getChildren();
  auto expected = layout(h);
  ASSERT_EQ(children.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("widget " + std::to_string(i + 1));
    EXPECT_STREQ(children[i]->kindName(), expected[i].kind);
    EXPECT_EQ(children[i]->getPosition(), ePoint(expected[i].x, expected[i].y));
    EXPECT_EQ(children[i]->getSize(), eSize(expected[i].width, expected[i].height));
    EXPECT_EQ(children[i]->getText(), expected[i].text);
  }
}

class MainWindow : public ::testing::Test {
 protected:
  void TearDown() override { eSkin::getActive()->clearValues(); }
  Session session;
};
}  // namespace

TEST_F(MainWindow, LayoutAtTheDefaultFontSize) {
  Session::writeListFile(twoEntries);
  session.then([] { expectLayout(30); }).key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_TRUE(session.messages().empty());
}

TEST_F(MainWindow, FontSizeChangesOnlyTheHeightOfOneLineWidgets) {
  eSkin::getActive()->setValue("fontsize", 34);
  Session::writeListFile(twoEntries);
  session.then([] { expectLayout(44); }).key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}

TEST_F(MainWindow, WidgetSettingsTextsAndDecorations) {
  Session::writeListFile(twoEntries);
  session.then([] {
    auto fields = widgetsOf<eTextInputField>(Session::mainWindow());
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0]->getHelpText(), "press ok to edit command");
    EXPECT_EQ(fields[0]->getEditHelpText(), "Entering command (Yellow a>A)");
    EXPECT_EQ(fields[1]->getHelpText(), "description for command (optional)");
    EXPECT_EQ(fields[1]->getEditHelpText(), "Entering description (Yellow a>A)");
    EXPECT_EQ(fields[0]->getDescr()->getText(), "Command:");
    EXPECT_EQ(fields[1]->getDescr()->getText(), "Description:");

    // Decorations are loaded on the input fields, the list and the status bar only.
    for (eWidget* child : Session::mainWindow()->getChildren()) {
      auto* deco = dynamic_cast<eDecoWidget*>(child);
      ASSERT_NE(deco, nullptr);
      bool loads = dynamic_cast<eTextInputField*>(child) || dynamic_cast<eListBoxBase*>(child) ||
                   dynamic_cast<eStatusBar*>(child);
      EXPECT_EQ(deco->hasDeco(), loads) << child->kindName() << " " << child->getText();
    }
    const auto& children = Session::mainWindow()->getChildren();
    const char* colours[] = {"std_dred", "std_dgreen", "std_dyellow", "std_dblue"};
    for (int i = 0; i < 4; ++i) {
      std::map<eString, eString> properties = {
          {"align", "center"}, {"vcenter", ""}, {"backgroundColor", colours[i]}};
      EXPECT_EQ(children[6 + i]->getProperties(), properties);
    }
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(children[i]->getProperties().empty());
    EXPECT_EQ(Session::checkbox()->isChecked(), 0);
    // List rows are as high as the host's text rows, not as the form's rows.
    EXPECT_EQ(Session::list()->getItemHeight(), eListBoxEntryText::getEntryHeight());
    EXPECT_NE(eListBoxEntryText::getEntryHeight(), 30);
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}

TEST_F(MainWindow, TheListHasTheFocusAndTheStatusBarFollowsTheHighlight) {
  Session::writeListFile(twoEntries);
  session.then([] {
    EXPECT_EQ(Session::focus(), Session::list());
    EXPECT_EQ(Session::list()->getCurrentIndex(), 0);
  });
  session.key(Key::down).then([] {
    EXPECT_EQ(Session::list()->getCurrentIndex(), 1);
    EXPECT_EQ(Session::statusText(), "Command: ls -l /tmp\nshow messages: true");
  });
  session.key(Key::up).then(
      [] { EXPECT_EQ(Session::statusText(), "Command: uptime\nshow messages: false"); });
  // Up at the top leaves the list for the check box, whose help text is empty.
  session.key(Key::up).then([] {
    EXPECT_EQ(Session::focus(), Session::checkbox());
    EXPECT_EQ(Session::statusText(), "");
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}

TEST_F(MainWindow, MissingListFileShowsTheErrorBoxBeforeTheMainWindow) {
  session.then([] {
    EXPECT_TRUE(Session::mainWindow()->isVisible());
    EXPECT_TRUE(Session::rows().empty());
    EXPECT_EQ(shownWindows().size(), 1u);
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  ASSERT_EQ(session.messages().size(), 1u);
  EXPECT_EQ(session.messages()[0].text, "unable to open\n/var/tuxbox/config/dorvane.xml");
  EXPECT_EQ(session.messages()[0].caption, "Error");
  EXPECT_FALSE(session.messages()[0].mainWindowShown);
}

TEST_F(MainWindow, ErrorBoxHidesTheMainWindowAndWaitsForOk) {
  session.holdMessageBoxes();
  session.then([] {
    EXPECT_STREQ(Session::topWindow()->kindName(), "eMessageBox");
    EXPECT_EQ(Session::topWindow()->getText(), "Error");
    EXPECT_FALSE(Session::mainWindow()->isVisible());
  });
  session.key(Key::down).then([] { EXPECT_STREQ(Session::topWindow()->kindName(), "eMessageBox"); });
  session.key(Key::ok).then([] {
    EXPECT_EQ(Session::topWindow(), Session::mainWindow());
    EXPECT_TRUE(Session::mainWindow()->isVisible());
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}
