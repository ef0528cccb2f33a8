// stub_layout: lays out the linked Windows players for EXE cards (a build step, not shipped).
//
//   stub_layout OUT_FOLDER ICON.ico exe1.exe exe2.exe exe3.exe
//
// Each player's icon image moves to the end of its file (pe_icon.h) with the icon of ICON.ico;
// OUT_FOLDER then holds the three players, the Option.ini with the length at which each is cut
// before an icon patch, and the FORM files whose bytes the patch puts before the icon image.
#include <cstdio>
#include <string>

#include "maker/packaging/pe_icon.h"
#include "maker/packaging/side_files.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

int Fail(const std::string& what) {
  std::fprintf(stderr, "stub_layout: %s\n", what.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace packaging;
  namespace files = platform::files;
  if (argc != 6) return Fail("usage: stub_layout OUT_FOLDER ICON.ico exe1.exe exe2.exe exe3.exe");
  const std::string out = platform::paths::FromHost(argv[1]) + "/";
  const auto icon = files::ReadFile(platform::paths::FromHost(argv[2]));
  const auto image = icon ? IconFileImage32(*icon) : std::nullopt;
  if (!image) return Fail(std::string("no 32x32 icon image in ") + argv[2]);
  if (!files::CreateFolder(out)) return Fail("cannot create " + out);
  long long cut[3] = {};
  for (int n = 1; n <= 3; ++n) {
    const std::string in = platform::paths::FromHost(argv[2 + n]);
    const auto program = files::ReadFile(in);
    if (!program) return Fail("cannot read " + in);
    // The FORM prefix without the image header bytes that the icon image itself begins with.
    const std::string form = FormFileBytes(n == 1 ? 1 : 3);
    const std::string prefix = form.substr(0, form.size() - kIconHeaderStart.size());
    const auto laid = PlaceIconLast(*program, prefix, *image);
    if (!laid) return Fail(in + ": no icon resource at the end of the program");
    cut[n - 1] = static_cast<long long>(laid->cutLength);
    if (!files::WriteFileAtomic(out + "exe" + std::to_string(n) + ".exe", laid->program))
      return Fail("cannot write the players");
  }
  bool ok = files::WriteFileAtomic(out + std::string(kOptionIniName), OptionIniText(cut[0], cut[1], cut[2]));
  for (int form : {1, 3, 4}) {
    ok = ok && files::WriteFileAtomic(out + "FORM" + std::to_string(form) + ".obj", FormFileBytes(form));
  }
  return ok ? 0 : Fail("cannot write the side files");
}
