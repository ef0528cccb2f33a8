// Style descriptions (the text cardtool style-write reads): any text is read; a description
// that reads gives a style file that reads back as the same file.
#include "fuzz_support.h"
#include "imaging/layer_style_file.h"
#include "imaging/style_description.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  imaging::StyleFile s;
  std::string error;
  // Pattern files are looked for in the (empty) fuzz folder.
  if (!imaging::ParseStyleDescription(std::string(fuzz::AsText(data, size)), fuzz::Folder(), s, error)) return 0;
  if (s.version < imaging::kStyleVersionFirst || s.version > imaging::kStyleVersionLast) return 0;
  if (s.patternOn && s.patternBytes.size() > INT32_MAX) return 0;
  const std::string bytes = imaging::WriteStyleFile(s);
  imaging::StyleFile back;
  if (imaging::ParseStyleFile(bytes, back) != imaging::StyleParse::Ok) __builtin_trap();
  if (imaging::WriteStyleFile(back) != bytes) __builtin_trap();
  return 0;
}
