// What a document keeps between preparing a save and finishing it: the output
// file and how it was chosen, what happens to it when the save is abandoned,
// and the results of writing that take effect only once the output is final.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "koyo/object/FileSave.h"

namespace koyo {

class CPDFStream;

struct CPDFSaveState {
  // A stream written from the document's file and where its bytes now lie in
  // the output; the stream is pointed there when the output becomes the
  // document's file.
  struct MovedWindow {
    int32_t objNum = 0;
    int32_t genNum = 0;
    int64_t offset = 0;
  };

  uint8_t saveCalled = 0;
  uint8_t flushing = 0;
  // The output is a temporary file that replaces the document's file.
  uint8_t tempUsed = 0;
  // The output is the document's own file, appended to.
  uint8_t appending = 0;
  // Set once the output file exists; cleared when the output is final.
  uint8_t removeOnClose = 0;
  std::string outputPath;
  std::unique_ptr<FileSave> output;
  // Length of the document's file before an append; -1 otherwise.
  int64_t appendBase = -1;

  // Written by the last section write, applied when Flush completes: the new
  // offset of every object listed in use, where the cross-reference section
  // starts, and the streams whose bytes moved.
  std::map<int32_t, int64_t> newOffsets;
  int64_t xrefPosition = -1;
  std::vector<MovedWindow> movedWindows;
};

}  // namespace koyo
