#include "player/card_media.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/paths.h"
#include "player_fixture.h"

using namespace player;

TEST(CardMedia, FilesAreWrittenOnDemandWithTheirNamesAndRemovedAfterwards) {
  player_fixture::CardBytes c = player_fixture::SmallCard();
  const int jpg = c.AddMedia("\xFF\xD8 picture");
  const int wav = c.AddMedia("RIFF1234WAVEfmt ");
  const packaging::CardReader reader(c.Build());
  std::string folder, named, sniffed;
  {
    MediaStore store(reader);
    folder = store.Folder();
    EXPECT_FALSE(platform::files::FolderExists(folder));  // nothing before the first use
    named = store.PathOf(wav, "C:\\声音\\祝福.wav");
    EXPECT_EQ(named, store.Folder() + "1/祝福.wav");
    EXPECT_EQ(platform::files::ReadFile(named).value_or(""), "RIFF1234WAVEfmt ");
    EXPECT_EQ(store.PathOf(wav, "other.wav"), named);  // written once
    sniffed = store.PathOf(jpg);
    EXPECT_EQ(platform::paths::ExtractFileExt(sniffed), ".jpg");
    EXPECT_EQ(store.PathOf(7), "");
  }
  {
    // A hostile name cannot leave the folder.
    MediaStore store(reader);
    const std::string odd = store.PathOf(jpg, "..\\..\\evil:.jpg");
    EXPECT_EQ(odd, store.Folder() + "0/evil.jpg");
  }
  EXPECT_FALSE(platform::files::Exists(named));
  EXPECT_FALSE(platform::files::FolderExists(folder));
}

TEST(CardMedia, ExtensionsFromContent) {
  EXPECT_EQ(SniffExtension("GIF89a..."), ".gif");
  EXPECT_EQ(SniffExtension("BM...."), ".bmp");
  EXPECT_EQ(SniffExtension("CWS\x08"), ".swf");
  EXPECT_EQ(SniffExtension("MThd...."), ".mid");
  EXPECT_EQ(SniffExtension("ID3\x03"), ".mp3");
  EXPECT_EQ(SniffExtension("hello"), ".dat");
}
