// Fuzz target: the whole repair of one file (RepairFile), on a copy of the
// input in a scratch folder, into a new output file or, chosen by the last
// byte of the input, in place on the copy. Besides the sanitizers it checks
// what the repair promises its caller:
//   - a failed repair leaves the file it was given byte for byte as it was,
//     and leaves no output file behind;
//   - a successful repair only appends: the result starts with the input;
//   - no temporary file stays behind either way.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "FuzzScratch.h"
#include "front/Repair.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace koyo::fuzz;
  UseFixtureFonts();
  const std::filesystem::path dir = ScratchDir();
  const std::filesystem::path input = dir / "input.pdf";
  const std::filesystem::path output = dir / "output.pdf";
  const std::filesystem::path temp = dir / "temp";
  std::filesystem::create_directory(temp);
  WriteBytes(input, data, size);
  const std::string original(reinterpret_cast<const char*>(data), size);

  const bool inPlace = size > 0 && (data[size - 1] & 1) != 0;
  kanafix::RepairOptions options;
  options.tempDir = temp.string() + "/";
  std::string message;
  const int rc = kanafix::RepairFile(input.c_str(), inPlace ? nullptr : output.c_str(), nullptr, options, &message);
  Check(rc == 0 || rc == 1, "the repair answers 0 or 1", std::to_string(rc));

  const std::string inputAfter = ReadBytes(input);
  if (rc != 0) {
    Check(!message.empty(), "a failed repair says why");
    Check(inputAfter == original, "a failed repair leaves its file unchanged", message);
    Check(!std::filesystem::exists(output), "a failed repair leaves no output file", message);
  } else if (inPlace) {
    Check(inputAfter.size() >= original.size() && inputAfter.compare(0, original.size(), original) == 0,
          "a repair in place only appends to the file");
  } else {
    Check(inputAfter == original, "a repair into a new file leaves the input unchanged");
    const std::string result = ReadBytes(output);
    Check(result.size() >= original.size() && result.compare(0, original.size(), original) == 0,
          "the repaired file starts with the input");
  }
  Check(NamesIn(temp).empty(), "the repair leaves no temporary files", Joined(NamesIn(temp)));

  std::filesystem::remove(output);
  std::filesystem::remove(input);
  Check(NamesIn(dir) == std::vector<std::string>{"temp"}, "the repair writes nothing beside its files",
        Joined(NamesIn(dir)));
  return 0;
}
