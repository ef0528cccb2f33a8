// Every test program starts in the same environment, whatever runs it: Qt windows draw
// offscreen and the registry stand-in lives in the build tree, not the user's folder.
#include <cstdlib>

namespace {
struct TestEnvironment {
  TestEnvironment() {
#ifndef _WIN32  // the Windows build has no Qt and uses the system registry
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LMCARD_CONFIG_HOME", CARD_TEST_CONFIG_HOME, 0);
#endif
  }
} const kTestEnvironment;
}  // namespace
