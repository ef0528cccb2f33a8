// Every test program starts in the same environment, whatever runs it: Qt windows draw
// offscreen and the registry stand-in lives in the build tree, not the user's folder.
#include <cstdlib>

namespace {
struct TestEnvironment {
  TestEnvironment() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LMCARD_CONFIG_HOME", CARD_TEST_CONFIG_HOME, 0);
  }
} const kTestEnvironment;
}  // namespace
