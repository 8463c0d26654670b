// plain_window is the setup window written by hand in plain Qt: a fair peer for the program's
// start-up only while it shows the very window the program shows at start on the bench
// machine. Both pictures are made on this machine with the same Qt, style and fonts, so text
// is antialiased alike and every pixel can be asked to be equal: a pixel that differs is a
// control, text, font, colour or place the peer got wrong.

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "tests/support/DemoMachine.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::RunProcess;

// Where two pictures of the same size differ: how many pixels, and the box around them.
struct Difference {
  int pixels = 0;
  QRect box;
};

Difference Compare(const QImage& a, const QImage& b) {
  Difference difference;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) == b.pixel(x, y)) continue;
      ++difference.pixels;
      difference.box = difference.box.united(QRect(x, y, 1, 1));
    }
  }
  return difference;
}

int DarkPixels(const QImage& picture) {
  int dark = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x)
      dark += qGray(picture.pixel(x, y)) < 0x40 ? 1 : 0;
  }
  return dark;
}

QImage Load(const std::string& path) {
  return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

TEST(PlainWindowTest, ShowsTheSamePictureAsTheSetupWindowAtStart) {
  // The bench machine: the demo distribution, Delphi 3, 4 and 5 installed, nothing remembered.
  testsupport::TempDir dir;
  ASSERT_TRUE(testsupport::MakeDistribution(dir / "dist", {3, 4, 5}));
  ASSERT_TRUE(testsupport::MakeDelphiPrefix(dir / "prefix",
                                            {{.version = 3}, {.version = 4}, {.version = 5}}));
  const auto program = RunProcess({SCREENSHOT_PROGRAM, "--dist", dir / "dist", "--language",
                                   "English", "--output", dir / "program.png"},
                                  {{"WINEPREFIX", dir / "prefix"}});
  ASSERT_EQ(program.exitCode, 0) << program.err;
  const auto peer =
      RunProcess({PLAIN_WINDOW, "--picture", dir / "peer.png"}, {{"QT_QPA_PLATFORM", "offscreen"}});
  ASSERT_EQ(peer.exitCode, 0) << peer.err;

  const QImage programPicture = Load(dir / "program.png");
  const QImage peerPicture = Load(dir / "peer.png");
  ASSERT_FALSE(programPicture.isNull());
  ASSERT_EQ(peerPicture.size(), programPicture.size());
  // Two blank pictures would be equal too: this one holds the window's text and frames.
  EXPECT_GT(DarkPixels(programPicture), 1000);
  const Difference difference = Compare(programPicture, peerPicture);
  if (difference.pixels != 0) {
    // Kept for a look: the two pictures side by side tell what the peer got wrong.
    programPicture.save(QStringLiteral("PlainWindowTest-program.png"));
    peerPicture.save(QStringLiteral("PlainWindowTest-peer.png"));
  }
  EXPECT_EQ(difference.pixels, 0)
      << "pixels differ within x " << difference.box.left() << ".." << difference.box.right()
      << ", y " << difference.box.top() << ".." << difference.box.bottom()
      << " (pictures saved as PlainWindowTest-program.png and PlainWindowTest-peer.png)";
}

}  // namespace
