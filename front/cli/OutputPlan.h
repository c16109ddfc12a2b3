// Where each input of a run is written: the output file named on the command
// line, the input itself, or a file in the output folder named after the input.
// Inputs from different folders that share a base name get distinct names in
// the folder: the first keeps it, later ones get "-2", "-3", ... before the
// extension (a.pdf, a-2.pdf), in the order the inputs were given.
#pragma once
#include <string>
#include <vector>

#include "front/cli/CommandLine.h"

namespace kanafix::cli {

struct PlannedFile {
  std::string input;
  std::string output;       // equal to input for a repair in place
  std::string renamedFrom;  // the clashing name first wanted, when renamed
  bool inPlace = false;     // output is the input file itself
};

// The outputs by name alone, without looking at the file system. False (with
// *error) when an input has no file name to name an output after.
bool PlanOutputs(const CommandLine& line, std::vector<PlannedFile>* files, std::string* error);

// Checks the plan against the file system: an output that is its own input
// under another name becomes a repair in place; an output that is another
// input of the run, or the same file as another output, is an error (two
// workers would write one file). False (with *error) then.
bool CheckPlanFiles(std::vector<PlannedFile>* files, std::string* error);

// The part of path after its last '/'.
std::string BaseName(const std::string& path);

}  // namespace kanafix::cli
