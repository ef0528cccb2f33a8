#include "platform/dynlib.h"

#include <gtest/gtest.h>

#include "platform/paths.h"

using namespace platform;

TEST(Dynlib, LoadsByPathResolvesAndUnloads) {
  dynlib::Handle lib = dynlib::Load(paths::FromHost(CARD_DYNLIB_FIXTURE));
  ASSERT_NE(lib, nullptr) << dynlib::LastError();
  auto answer = reinterpret_cast<int (*)()>(dynlib::Resolve(lib, "fixture_answer"));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  EXPECT_EQ(dynlib::Resolve(lib, "no_such_function"), nullptr);
  EXPECT_FALSE(dynlib::LastError().empty());
  dynlib::Unload(lib);
}

TEST(Dynlib, LoadsABareNameFromTheProgramFolderFirst) {
  std::string fixture = paths::FromHost(CARD_DYNLIB_FIXTURE);
  std::string saved = paths::ProgramFolder();
  paths::SetProgramFolder(paths::ExtractFilePath(fixture));
  dynlib::Handle lib = dynlib::Load(paths::ExtractFileName(fixture));
  paths::SetProgramFolder(saved);
  ASSERT_NE(lib, nullptr) << dynlib::LastError();
  EXPECT_NE(dynlib::Resolve(lib, "fixture_answer"), nullptr);
  dynlib::Unload(lib);
}

TEST(Dynlib, AMissingLibraryIsANullHandleWithAReason) {
  EXPECT_EQ(dynlib::Load("/no/such/bass.dll"), nullptr);
  EXPECT_FALSE(dynlib::LastError().empty());
  EXPECT_EQ(dynlib::Load(""), nullptr);
  EXPECT_EQ(dynlib::Resolve(nullptr, "x"), nullptr);
}
