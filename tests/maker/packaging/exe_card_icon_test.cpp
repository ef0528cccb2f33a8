// EXE cards are the Windows players with the card appended: the icon patch that both builders
// apply lands on the players' icon resource, so the card file shows the chosen icon.
#include <gtest/gtest.h>

#include "maker/document/card_document.h"
#include "maker/packaging/card_reader.h"
#include "maker/packaging/ordinary_build.h"
#include "maker/packaging/package_builder.h"
#include "maker/packaging/packaging_fixture.h"
#include "maker/packaging/pe_icon.h"
#include "maker/packaging/read_ini.h"

using namespace packaging;
using namespace packaging_test;

namespace {

class ExeCardIcon : public PackagingTest {
 protected:
  void SetUp() override {
    PackagingTest::SetUp();
    // The laid-out Windows players of the build with their side files.
    const std::string players = std::string(CARD_PROGRAM_DIR) + "/windows/";
    for (const char* f : {"exe1.exe", "exe2.exe", "exe3.exe", "Option.ini", "FORM1.obj", "FORM3.obj", "FORM4.obj"}) {
      const std::string bytes = ReadBytes(players + f);
      ASSERT_FALSE(bytes.empty()) << players << f << " is missing: build the target windows_players";
      Write(std::string("windows/") + f, bytes);
    }
  }
};

}  // namespace

TEST_F(ExeCardIcon, PlayersCarryTheirIconLastAndOptionIniCutsBeforeIt) {
  for (int n : {1, 2, 3}) {
    const std::string stub = ReadBytes(Wf("exe" + std::to_string(n) + ".exe"));
    const auto icon = FindPeIcon(stub);
    ASSERT_TRUE(icon) << n;
    EXPECT_EQ(icon->offset + icon->size, stub.size());
    EXPECT_EQ(icon->size, kIconSlotSize);
    // The cut leaves exactly the FORM bytes that precede the image header.
    const std::string form = FormFileBytes(n == 1 ? 1 : 3);
    const int cut = ReadIni("Application", "EXE" + std::to_string(n), Wf("Option.ini"), -1);
    EXPECT_EQ(static_cast<uint64_t>(cut) + form.size() - kIconHeaderStart.size(), icon->offset);
    EXPECT_EQ(stub.substr(cut, form.size()), form);
    EXPECT_EQ(PeImageEnd(stub), stub.size());
  }
}

TEST_F(ExeCardIcon, BothBuildersPatchTheChosenIconIntoTheIconResource) {
  const std::string icon4 = IconFile(32, 32, 4), icon8 = IconFile(32, 32, 8);

  ordinary::OrdinarySettings s = ordinary::NewCardSettings();
  s.cardImg = Write("card.jpg", std::string(5000, 'J'));
  s.icon = Write("mine.ico", icon8);
  ASSERT_EQ(BuildOrdinaryCard(s, Pf("ordinary.exe")), OrdinaryBuildResult::Built);

  document::CardDocument doc;
  doc.window.showTitbar = true;
  doc.window.icon = Write("other.ico", icon4);
  ASSERT_TRUE(MakeExe(doc, Pf("interactive.exe")));

  for (const auto& [card, ico] : {std::pair{Pf("ordinary.exe"), icon8}, std::pair{Pf("interactive.exe"), icon4}}) {
    const std::string bytes = ReadBytes(card);
    const auto chosen = IconFileImage32(ico);
    ASSERT_TRUE(chosen);
    const auto shown = ReadPeIcon(bytes);
    ASSERT_TRUE(shown) << card;
    EXPECT_EQ(shown->substr(0, chosen->size()), *chosen) << card;
    // The card behind the icon still reads back.
    EXPECT_NO_THROW(CardReader::Open(card));
    // A small icon and payload still leave the whole program image in the file.
    EXPECT_LT(*PeImageEnd(bytes), bytes.size());
  }
}
