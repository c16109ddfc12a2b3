#include "front/cli/Usage.h"

namespace kanafix::cli {

std::string HelpText() {
  return R"(Usage: kanafix [OPTION]... INPUT [OUTPUT]
  or:  kanafix [OPTION]... -o DIR INPUT...
  or:  kanafix [OPTION]... --in-place INPUT...
  or:  kanafix [OPTION]... --dry-run INPUT...
Repair the Japanese fonts of PDF files: every font named after an installed
Shift-JIS TrueType font, or HeiseiMin-W3 or HeiseiKakuGo-W5, is replaced by a
complete Type 0 font, appended to the file as one incremental update.

With one INPUT the file is repaired in place; with INPUT OUTPUT the repaired
copy is written to OUTPUT and INPUT is left as it was.

  -o, --output-dir DIR  write each repaired INPUT to DIR under its own name;
                        later inputs whose name is taken get -2, -3, ...
                        before the extension (a.pdf, a-2.pdf)
      --in-place        repair every INPUT in place
  -n, --dry-run, --list-fonts
                        report what would be done and write nothing;
                        every file named is an INPUT
      --json            report one JSON object per file (JSON Lines)
  -j, --jobs N          repair N files at a time in separate processes
                        (1 to 256, default 1); reports keep the input order
      --log FILE        append details of failures to FILE
      --temp-dir DIR    put temporary files in DIR
  -h, --help            show this help and exit
      --version         show the version and exit

The report lists, per file, each font replaced (page, resource name, object,
old subtype and BaseFont, new encoding) and each font left alone with the
reason. Failures go to standard error. With more than one file a summary
follows on standard error, and on a terminal a progress line is shown there.

Exit status: 0 when every file was repaired or had nothing to do,
1 when any file failed, 2 for a usage error.
)";
}

std::string VersionText(const char* interfaceVersion, const char* libraryVersion) {
  return std::string("kanafix ") + interfaceVersion + "\ninterface version " + interfaceVersion +
         ", PDF library version " + libraryVersion + "\n";
}

std::string UsageErrorText(const std::string& error) {
  return "kanafix: " + error + "\nTry 'kanafix --help' for more information.\n";
}

}  // namespace kanafix::cli
