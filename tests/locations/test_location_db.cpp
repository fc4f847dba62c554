// The location database: loading, saving, editing and stepping between database files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/scratch_folder.h"
#include "locations/location_db.h"
#include "tracking/text_file.h"

namespace zen {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class LocationFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(home_.empty());
    fs::create_directories(home_ / "Locations");
  }
  fs::path Db(const std::string& name) { return home_ / "Locations" / (name + ".loc"); }
  void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
  std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  // Loads a database by its bare name, as the database buttons do.
  void Load(TLocationDb& db, const std::string& name) {
    db.LocationFile = "*" + name;
    db.zapodawajLokacje(home_);
  }
  test::TScratchFolder folder_{"zen_locations_"};
  const fs::path& home_ = folder_.path();
};

TEST_F(LocationFolder, InvalidLinesAreSkippedAndLongTextsCut) {
  Write(Db("Mixed"),
        "\"Torun\",\"SP2\",18.6107,53.0217,5.0\r\n"
        "\"Lon\",\"L\",200,50,0\r\n"
        "\"Two\",\"T\",20,50\n"
        "\"\",\"E\",20,50,0\r"
        "\xff\xfe\x00\x01 binary\r\n"
        "\"A name of thirty characters..\",\"A sign of twenty...\",1,2,3\r\n"s);
  TLocationDb db;
  Load(db, "Mixed");
  EXPECT_EQ(db.LocationFile, "Locations\\Mixed.loc");
  EXPECT_EQ(db.Caption, "Mixed");
  EXPECT_TRUE(db.LocationDbSaved);
  EXPECT_EQ(db.Names, (std::vector<std::string>{"Torun", "A name of thirty characte"}));
  ASSERT_EQ(db.LocationTable.size(), 2u);
  EXPECT_EQ(db.LocationTable[1].sign, "A sign of twent");
  EXPECT_DOUBLE_EQ(db.LocationTable[0].latitude, 53.0217);
  EXPECT_DOUBLE_EQ(db.LocationTable[0].longitude, 18.6107);
}

TEST_F(LocationFolder, TheLineAfterTheLimitIsNotLoaded) {
  std::string text = "\"bad\",\"\",999,0,0\r\n";
  for (int i = 1; i <= MaxLocations + 1; ++i) {
    text += "\"P" + std::to_string(i) + "\",\"\",1.0000,2.0000,3.0\r\n";
  }
  Write(Db("Big"), text);
  TLocationDb db;
  Load(db, "Big");
  ASSERT_EQ(db.Names.size(), static_cast<size_t>(MaxLocations));
  EXPECT_EQ(db.Names.back(), "P5000");
  EXPECT_EQ(db.Add("More", {}), -1);
}

TEST_F(LocationFolder, AMissingFileGivesAnEmptyDatabaseAndKeepsTheCaption) {
  TLocationDb db;
  db.Caption = "Earlier";
  db.Names = {"Old"};
  db.LocationTable.resize(1);
  Load(db, "Nowhere");
  EXPECT_TRUE(db.Names.empty());
  EXPECT_TRUE(db.LocationTable.empty());
  EXPECT_EQ(db.Caption, "Earlier");
}

TEST(LocationDb, AddInsertsBeforeTheFirstNameEqualIgnoringCase) {
  TLocationDb db;
  for (const char* name : {"Amsterdam", "Berlin", "Chicago"}) db.Add(name, {});
  db.LocationDbSaved = true;
  EXPECT_EQ(db.Add("berlin", {52.52, 13.405, 34.0, "A sign longer than fifteen"}), 1);
  EXPECT_EQ(db.Names, (std::vector<std::string>{"Amsterdam", "berlin", "Berlin", "Chicago"}));
  EXPECT_EQ(db.LocationTable[1].sign, "A sign longer t");
  EXPECT_FALSE(db.LocationDbSaved);
  EXPECT_EQ(db.Add("zurich", {}), 4);
  EXPECT_EQ(db.FindPrefix("CHI"), 3);
  EXPECT_EQ(db.FindPrefix("x"), -1);
}

TEST_F(LocationFolder, StepsBetweenDatabaseFilesWrapping) {
  Write(Db("World"), "");
  TLocationDb db;
  Load(db, "World");
  // One file: both directions reload the same one.
  EXPECT_EQ(db.NeighbourDatabase(true), "World");
  EXPECT_EQ(db.NeighbourDatabase(false), "World");

  Write(Db("europe"), "");
  Write(Db("Asia"), "");
  Write(home_ / "Locations" / "notes.txt", "");
  Load(db, "World");
  EXPECT_EQ(db.LocationDbFiles, (std::vector<std::string>{"Asia", "europe", "World"}));
  EXPECT_EQ(db.NeighbourDatabase(true), "Asia");
  EXPECT_EQ(db.NeighbourDatabase(false), "europe");
  Load(db, "Asia");
  EXPECT_EQ(db.NeighbourDatabase(false), "World");
  Load(db, "Gone");
  EXPECT_EQ(db.NeighbourDatabase(true), "Asia");
  EXPECT_EQ(db.NeighbourDatabase(false), "World");
}

TEST_F(LocationFolder, RemovingTheLastEntryThenSavingWritesAnEmptyFile) {
  Write(Db("One"), "\"Torun\",\"SP2\",18.6107,53.0217,5.0\r\n");
  TLocationDb db;
  Load(db, "One");
  ASSERT_EQ(db.Names.size(), 1u);
  db.Remove(0);
  EXPECT_TRUE(db.Names.empty());
  EXPECT_FALSE(db.LocationDbSaved);
  db.SejwujLokacje(home_);
  EXPECT_TRUE(db.LocationDbSaved);
  EXPECT_EQ(Bytes(Db("One")), "");
}

TEST_F(LocationFolder, TheShippedWorldDatabaseRoundTripsByteForByte) {
  const fs::path shipped = fs::path(ZEN_SOURCE_DIR) / "resources" / "Locations" / "World.loc";
  ASSERT_TRUE(fs::exists(shipped));
  fs::copy_file(shipped, Db("World"));
  TLocationDb db;
  db.zapodawajLokacje(home_);
  EXPECT_EQ(db.Names.size(), 1745u);
  fs::remove(Db("World"));
  db.SejwujLokacje(home_);
  EXPECT_EQ(Bytes(Db("World")), Bytes(shipped));
}

TEST_F(LocationFolder, SavesGoToTheFileReadNotALaterLocationFile) {
  Write(Db("A"), "\"Torun\",\"SP2\",18.6107,53.0217,5.0\r\n");
  const std::string other = "\"Other\",\"O\",1.0000,2.0000,3.0\r\n";
  Write(Db("B"), other);
  TLocationDb db;
  db.LocationFile = "Locations/A.loc";
  db.zapodawajLokacje(home_);
  db.LocationFile = "Locations\\B.loc";  // as loading settings does
  db.Add("Gdansk", {54.352, 18.6466, 7.0, "GD"});
  EXPECT_EQ(db.SavedFile(), "Locations/A.loc");
  db.SejwujLokacje(home_);
  EXPECT_EQ(Bytes(Db("A")),
            "\"Gdansk\",\"GD\",18.6466,54.3520,7.0\r\n\"Torun\",\"SP2\",18.6107,53.0217,5.0\r\n");
  EXPECT_EQ(Bytes(Db("B")), other);
}

TEST_F(LocationFolder, AFailedSaveNamesTheFileAndKeepsTheOldCopy) {
  const std::string old = "\"Torun\",\"SP2\",18.6107,53.0217,5.0\r\n";
  Write(Db("A"), old);
  TLocationDb db;
  Load(db, "A");
  db.Clear();
  fs::create_directory(home_ / "Locations" / "A.loc.tmp");
  try {
    db.SejwujLokacje(home_);
    ADD_FAILURE() << "the save did not fail";
  } catch (const TFileError& e) {
    EXPECT_NE(std::string(e.what()).find("A.loc"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(db.LocationDbSaved);
  EXPECT_EQ(Bytes(Db("A")), old);
}

}  // namespace
}  // namespace zen
