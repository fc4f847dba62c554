// Numbered screen shots: the first free number, gaps filled first, 999 overwritten, and a
// failed save reported with the file and nothing on disk lost.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <vector>

#include "display/screen_shot.h"
#include "gui_application.h"

namespace zen {
namespace {

class ScreenShot : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureGuiApplication();
    ASSERT_TRUE(QDir(home.path()).mkpath("Output"));
    picture = QImage(63, 39, QImage::Format_RGB32);
    picture.fill(QColor(0x12, 0x34, 0x56));
    picture.setPixel(5, 7, qRgb(0xFF, 0x00, 0x00));
  }

  QString Output(const QString& name = QString()) const {
    return QDir(home.path()).filePath("Output/" + name);
  }

  void Touch(int n, const QByteArray& content = "old") const {
    QFile f(Output(QStringLiteral("ScrSav%1.bmp").arg(n, 3, 10, QLatin1Char('0'))));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
  }

  QTemporaryDir home;
  QImage picture;
};

TEST_F(ScreenShot, TakesTheFirstFreeNumberFillingGapsFirst) {
  const struct {
    std::vector<int> present;
    const char* next;
  } cases[] = {
      {{}, "ScrSav000.bmp"},
      {{0, 1}, "ScrSav002.bmp"},
      {{0, 2}, "ScrSav001.bmp"},
      {{1, 2, 3}, "ScrSav000.bmp"},
      {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11}, "ScrSav010.bmp"},
  };
  for (const auto& c : cases) {
    QDir(Output()).removeRecursively();
    QDir(home.path()).mkpath("Output");
    for (int n : c.present) Touch(n);
    EXPECT_EQ(ScreenShotFileName(Output()), Output(c.next));
  }
}

TEST_F(ScreenShot, NumberStopsAt999WhichIsOverwritten) {
  for (int n = 0; n <= 998; ++n) Touch(n);
  EXPECT_EQ(ScreenShotFileName(Output()), Output("ScrSav999.bmp"));
  Touch(999);
  EXPECT_EQ(ScreenShotFileName(Output()), Output("ScrSav999.bmp"));
  TScreenShotResult r = SaveScreenShot(picture, home.path(), true);
  ASSERT_TRUE(r.ok) << r.message.toStdString();
  QImage saved(r.file);
  EXPECT_EQ(saved.size(), picture.size());
  QFile first(Output("ScrSav000.bmp"));
  ASSERT_TRUE(first.open(QIODevice::ReadOnly));
  EXPECT_EQ(first.readAll(), QByteArray("old"));
}

TEST_F(ScreenShot, SavesABitmapAndSaysWhere) {
  Touch(0);
  const struct {
    bool mapOnly;
    const char* words;
    const char* file;
  } cases[] = {{true, "Map grabbed to:", "ScrSav001.bmp"},
               {false, "Screen grabbed to:", "ScrSav002.bmp"}};
  for (const auto& c : cases) {
    TScreenShotResult r = SaveScreenShot(picture, home.path(), c.mapOnly);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.file, Output(c.file));
    EXPECT_EQ(r.message, QString::fromLatin1(c.words) + "\n" + Output(c.file));
    QImage saved(r.file, "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), picture.size());
    EXPECT_EQ(saved.pixel(5, 7) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(saved.pixel(0, 0) & 0xFFFFFFu, 0x123456u);
  }
  // No temporary file is left beside the shots.
  EXPECT_EQ(QDir(Output()).entryList(QDir::Files).size(), 3);
}

TEST_F(ScreenShot, UnwritableOutputGivesAnErrorNamingTheFile) {
  const struct {
    const char* what;
    bool outputIsAFile;
  } cases[] = {{"folder removed", false}, {"a file in the folder's place", true}};
  for (const auto& c : cases) {
    QDir(Output()).removeRecursively();
    if (c.outputIsAFile) {
      QFile blocker(QDir(home.path()).filePath("Output"));
      ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
      blocker.write("not a folder");
    }
    TScreenShotResult r = SaveScreenShot(picture, home.path(), false);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_EQ(r.file, Output("ScrSav000.bmp")) << c.what;
    EXPECT_TRUE(r.message.contains(r.file)) << r.message.toStdString();
    EXPECT_FALSE(r.message.contains("grabbed")) << r.message.toStdString();
    EXPECT_GT(r.message.size(), r.file.size() + 25)
        << "no reason given: " << r.message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(r.file)) << c.what;
    QFile::remove(QDir(home.path()).filePath("Output"));
  }
}

TEST_F(ScreenShot, EmptyPictureIsRefusedAndWritesNothing) {
  TScreenShotResult r = SaveScreenShot(QImage(), home.path(), true);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.message.contains(r.file));
  EXPECT_TRUE(QDir(Output()).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace zen
