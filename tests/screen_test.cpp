// What the simulator's screen shows, read back from its PNG screenshots:
// where the windows and the colour legend lie, the highlight, the cursor,
// the check mark and a row of control bytes, and that drawing only what
// changed gives the very picture that drawing everything gives.
#include "standin/screen.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>

#include "host/eskin.h"
#include "standin/render/look.h"
#include "standin/render/tvscreen.h"
#include "tests/harness.h"

namespace {
const char* const twoEntries =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n\n<list>\n"
    "\t<shell description=\"Uptime\" command=\"uptime\" message=\"false\" />\n"
    "\t<shell description=\"Controls\" command=\"printf '\\r\\t\\n'\" message=\"true\" />\n"
    "</list>";

std::string listOf(int entries) {
  std::string file = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n\n<list>\n";
  for (int i = 0; i < entries; ++i)
    file +=
        "\t<shell description=\"entry " + std::to_string(i) + "\" command=\"true\" message=\"false\" />\n";
  return file + "</list>";
}

// Colours as "#rrggbb", so that failures read well.
std::string hex(std::uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", colour & 0xffffffu);
  return text;
}

std::string skin(const char* name) { return hex(eSkin::getActive()->queryColor(name)); }

struct Picture {
  std::vector<std::uint8_t> rgb = std::vector<std::uint8_t>(screenWidth * screenHeight * 3);
  std::string at(int x, int y) const {
    const std::uint8_t* p = &rgb[(std::size_t(y) * screenWidth + x) * 3];
    return hex(std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]);
  }
};

// The screen as the simulator's `screenshot` writes it, read back.
Picture screenshot() {
  Picture picture;
  std::string path = Session::path("/tmp/screen.png"), error;
  EXPECT_TRUE(saveScreenshot(path, error)) << error;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << image.message;
    return picture;
  }
  image.format = PNG_FORMAT_RGB;
  if (image.width != png_uint_32(screenWidth) || image.height != png_uint_32(screenHeight)) {
    ADD_FAILURE() << "screenshot of " << image.width << "x" << image.height;
    png_image_free(&image);
    return picture;
  }
  if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) ADD_FAILURE() << image.message;
  return picture;
}

// A window's client area at (x, y) with w by h: its corners inside, the
// title bar above, the frame around it and the empty screen beyond.
void expectClientArea(const Picture& shot, int x, int y, int w, int h) {
  const int right = x + w - 1, bottom = y + h - 1;
  for (auto [px, py] : {std::pair{x, y}, {right, y}, {x, bottom}, {right, bottom}})
    EXPECT_EQ(shot.at(px, py), skin("std_background")) << "client corner " << px << "," << py;
  EXPECT_EQ(shot.at(x, y - 1), skin("std_titlebar"));
  EXPECT_EQ(shot.at(right, y - 1), skin("std_titlebar"));
  for (auto [px, py] : {std::pair{x - 1, y}, {right + 1, y}, {x, bottom + 1}, {right, bottom + 1}})
    EXPECT_EQ(shot.at(px, py), skin("std_frame")) << "frame at " << px << "," << py;
  const int border = 2, title = 30;
  for (auto [px, py] :
       {std::pair{x - border - 1, y}, {right + border + 1, y}, {x, y - title - 1}, {x, bottom + border + 1}})
    EXPECT_EQ(shot.at(px, py), "#000000") << "outside at " << px << "," << py;
}

// Rows of the main window's list lie at (10, 135) in its client area.
constexpr int listLeft = 130 + 10, listTop = 100 + 135;
std::string rowColour(const Picture& shot, int position) {
  return shot.at(listLeft + 1, listTop + position * eListBoxEntryText::getEntryHeight() + 1);
}

class Screen : public ::testing::Test {
 protected:
  void TearDown() override { tvScreen().onDrawn(nullptr); }
  Session session;
};
}  // namespace

TEST_F(Screen, LegendLabelsAreFilledWithTheirColoursWhereTheLayoutPutsThem) {
  Session::writeListFile(twoEntries);
  session.then([] {
    Picture shot = screenshot();
    const char* colours[] = {"std_dred", "std_dgreen", "std_dyellow", "std_dblue"};
    const int top = 100 + 315, height = 30, width = 100;
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(colours[i]);
      const int left = 130 + 30 + 100 * i, right = left + width - 1, bottom = top + height - 1;
      for (auto [x, y] : {std::pair{left, top}, {right, top}, {left, bottom}, {right, bottom}})
        EXPECT_EQ(shot.at(x, y), skin(colours[i])) << "at " << x << "," << y;
      EXPECT_EQ(shot.at(left, top - 1), skin("std_background"));
      EXPECT_EQ(shot.at(left, bottom + 1), skin("std_background"));
      EXPECT_EQ(shot.at(left - 1, top), i == 0 ? skin("std_background") : skin(colours[i - 1]));
      if (i == 3) {
        EXPECT_EQ(shot.at(right + 1, top), skin("std_background"));
      }

      // The text is centred: as much room on its left as on its right.
      int first = right, last = left;
      for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
          if (shot.at(x, y) != skin(colours[i])) first = std::min(first, x), last = std::max(last, x);
      ASSERT_LT(first, last) << "no text";
      EXPECT_NEAR(first - left, right - last, 2);
    }
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}

TEST_F(Screen, MainWindowClientAreaLiesAt130By100With460By410) {
  Session::writeListFile(twoEntries);
  session.then([] { expectClientArea(screenshot(), 130, 100, 460, 410); }).key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}

TEST_F(Screen, OutputWindowClientAreaLiesAt70By80With580By450) {
  Session::writeListFile(twoEntries);
  session.key(Key::down).key(Key::ok);
  session.waitFor([] { return Session::topWindow()->getText() == "information"; }, "the output window");
  session.then([] {
    Picture shot = screenshot();
    expectClientArea(shot, 70, 80, 580, 450);
    // Rows of control bytes alone show as nothing at all.
    const int rowHeight = eListBoxEntryText::getEntryHeight(), left = 70 + 10;
    for (int row : {1, 2}) {
      ASSERT_EQ(Session::rows(Session::topWindow()).at(row), row == 1 ? "\n" : "\r\t\n");
      const int top = 80 + 10 + row * rowHeight;
      int ink = 0;
      for (int y = top; y < top + rowHeight; ++y)
        for (int x = left; x < left + 560; ++x) ink += shot.at(x, y) != skin("std_input");
      EXPECT_EQ(ink, 0) << "row " << row;
    }
  });
  session.keys({Key::exit, Key::exit});
  EXPECT_EQ(session.run(), 0);
}

TEST_F(Screen, HighlightShowsOnTheRowThatKeysMovedItTo) {
  Session::writeListFile(listOf(8));
  session.then([] {
    Picture shot = screenshot();
    EXPECT_EQ(rowColour(shot, 0), skin("std_highlight"));
    EXPECT_EQ(rowColour(shot, 1), skin("std_input"));
  });
  session.key(Key::down).then([] {
    Picture shot = screenshot();
    EXPECT_EQ(rowColour(shot, 0), skin("std_input"));
    EXPECT_EQ(rowColour(shot, 1), skin("std_highlight"));
  });
  // Six rows fit; the seventh brings the next page, its first row on top.
  session.keys({Key::down, Key::down, Key::down, Key::down, Key::down}).then([] {
    ASSERT_EQ(Session::list()->getCurrentIndex(), 6);
    Picture shot = screenshot();
    EXPECT_EQ(rowColour(shot, 0), skin("std_highlight"));
    for (int row = 1; row < 6; ++row) EXPECT_EQ(rowColour(shot, row), skin("std_input")) << "row " << row;
  });
  // Leaving the list for the check box dims its highlight.
  session.keys({Key::up, Key::up, Key::up, Key::up, Key::up, Key::up, Key::up}).then([] {
    ASSERT_EQ(Session::focus(), Session::checkbox());
    EXPECT_EQ(rowColour(screenshot(), 0), skin("std_lowlight"));
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}

TEST_F(Screen, CheckBoxShowsItsMarkAndAnEditedFieldItsCursor) {
  Session::writeListFile(twoEntries);
  // The check box lies at (10, 90), the command field at (130, 10).
  const int markX = 130 + 10 + 14, markY = 100 + 90 + 15;
  const int fieldTop = 100 + 10, fieldLeft = 130 + 130, fieldRight = fieldLeft + 320;
  auto cursorColumn = [=](const Picture& shot) {
    for (int x = fieldLeft; x < fieldRight; ++x)
      if (shot.at(x, fieldTop + 15) == skin("std_cursor")) return x;
    return -1;
  };
  session.key(Key::up).then([=] { EXPECT_EQ(screenshot().at(markX, markY), skin("std_input")); });
  session.key(Key::ok).then([=] { EXPECT_EQ(screenshot().at(markX, markY), skin("std_foreground")); });
  session.keys({Key::up, Key::up, Key::ok}).then([=] {
    Picture shot = screenshot();
    EXPECT_EQ(shot.at(fieldLeft, fieldTop), skin("std_editing"));
    EXPECT_GE(cursorColumn(shot), fieldLeft);
  });
  auto before = std::make_shared<int>();
  session.then([=] { *before = cursorColumn(screenshot()); }).type("ls").then([=] {
    EXPECT_GT(cursorColumn(screenshot()), *before + 5);
  });
  session.key(Key::left).then([=] { EXPECT_LT(cursorColumn(screenshot()), *before + 10); });
  session.key(Key::ok).then([=] {
    EXPECT_EQ(cursorColumn(screenshot()), -1);
    EXPECT_EQ(screenshot().at(fieldLeft, fieldTop), skin("std_highlight"));
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}

TEST_F(Screen, DrawingWhatChangedGivesThePictureOfDrawingEverything) {
  Session::writeListFile(twoEntries);
  auto draws = std::make_shared<int>(0);
  session.then([draws] {
    tvScreen().update();
    tvScreen().onDrawn([draws](const std::vector<eRect>&) { ++*draws; });
  });
  auto expectSameAsWhole = [] {
    tvScreen().update();
    Canvas whole;
    paintScreen(whole, whole.bounds());
    EXPECT_TRUE(whole.data() == tvScreen().canvas().data());
  };
  session.keys({Key::down, Key::up, Key::up, Key::ok, Key::up, Key::up, Key::ok}).type("date");
  session.keys({Key::left, Key::yellow}).then(expectSameAsWhole);
  session.keys({Key::ok, Key::down, Key::down, Key::down, Key::down}).then(expectSameAsWhole);
  session.key(Key::ok).waitFor([] { return Session::topWindow()->getText() == "information"; }, "output");
  session.then(expectSameAsWhole).key(Key::exit).then(expectSameAsWhole);

  // With nothing changing nothing is drawn, and the picture stays.
  auto first = std::make_shared<Picture>();
  auto drawsBefore = std::make_shared<int>();
  session.then([=] {
    *first = screenshot();
    *drawsBefore = *draws;
  });
  session.advance(1000).advance(1000).then([=] {
    EXPECT_FALSE(tvScreen().update());
    EXPECT_EQ(*draws, *drawsBefore);
    EXPECT_TRUE(screenshot().rgb == first->rgb);
    EXPECT_GT(*draws, 5);
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}
