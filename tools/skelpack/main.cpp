// skelpack: packs a folder of pictures into an atlas and its page images in
// the text format the runtime reads.
#include <cstdio>
#include <string>

#include "Options.h"
#include "Pack.h"

int main(int argc, char** argv) {
  skelpack::Options options;
  std::string error;
  switch (skelpack::ParseArguments(argc, argv, options, error)) {
    case skelpack::Parsed::kHelp: std::fputs(skelpack::UsageText(), stdout); return 0;
    case skelpack::Parsed::kUsageError:
      std::fprintf(stderr, "skelpack: %s\nusage: skelpack [options] INPUT_DIR OUTPUT (skelpack --help tells more)\n",
                   error.c_str());
      return 2;
    case skelpack::Parsed::kRun: break;
  }
  const int code = skelpack::Run(options, error);
  if (code) std::fprintf(stderr, "skelpack: %s\n", error.c_str());
  return code;
}
