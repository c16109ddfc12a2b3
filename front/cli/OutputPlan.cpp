#include "front/cli/OutputPlan.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace kanafix::cli {

namespace {

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (!dir.empty() && dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

// name with "-n" before its extension (the part from the last '.', unless the
// name starts with that dot).
std::string Numbered(const std::string& name, size_t n) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) dot = name.size();
  return name.substr(0, dot) + "-" + std::to_string(n) + name.substr(dot);
}

using FileId = std::pair<dev_t, ino_t>;

std::optional<FileId> Identify(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileId(st.st_dev, st.st_ino);
}

}  // namespace

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool PlanOutputs(const CommandLine& line, std::vector<PlannedFile>* files, std::string* error) {
  files->clear();
  if (line.outputDir.empty()) {
    for (const std::string& input : line.inputs) {
      PlannedFile file;
      file.input = input;
      file.output = line.output.empty() || line.dryRun ? input : line.output;
      file.inPlace = file.output == input;
      files->push_back(std::move(file));
    }
    return true;
  }

  std::set<std::string> taken;
  for (const std::string& input : line.inputs) {
    const std::string base = BaseName(input);
    if (base.empty() || base == "." || base == "..") {
      *error = "'" + input + "' names no file to name an output after";
      return false;
    }
    PlannedFile file;
    file.input = input;
    std::string name = base;
    // Each name can clash with at most every earlier one, so this ends within
    // inputs.size() + 1 tries.
    for (size_t n = 2; taken.count(name); ++n) name = Numbered(base, n);
    taken.insert(name);
    if (name != base) file.renamedFrom = base;
    file.output = JoinPath(line.outputDir, name);
    file.inPlace = file.output == input;
    files->push_back(std::move(file));
  }
  return true;
}

bool CheckPlanFiles(std::vector<PlannedFile>* files, std::string* error) {
  // Every input file, with the positions at which it was given.
  std::map<FileId, std::vector<size_t>> inputs;
  for (size_t i = 0; i < files->size(); ++i) {
    if (auto id = Identify((*files)[i].input)) inputs[*id].push_back(i);
  }
  std::map<FileId, size_t> outputs;
  for (size_t i = 0; i < files->size(); ++i) {
    PlannedFile& file = (*files)[i];
    if (file.inPlace) continue;
    auto id = Identify(file.output);
    if (!id) continue;
    auto input = inputs.find(*id);
    if (input != inputs.end()) {
      if (std::find(input->second.begin(), input->second.end(), i) != input->second.end()) {
        file.inPlace = true;
        continue;
      }
      *error = "output '" + file.output + "' would overwrite the input '" + (*files)[input->second.front()].input + "'";
      return false;
    }
    auto [it, added] = outputs.emplace(*id, i);
    if (!added) {
      *error = "outputs '" + (*files)[it->second].output + "' and '" + file.output + "' are the same file";
      return false;
    }
  }
  // A file repaired in place must not be read by another worker at the same time.
  for (const auto& [id, positions] : inputs) {
    if (positions.size() < 2) continue;
    for (size_t i : positions) {
      if (!(*files)[i].inPlace) continue;
      const size_t other = positions.front() == i ? positions[1] : positions.front();
      *error = "'" + (*files)[i].input + "' is repaired in place and also given as '" + (*files)[other].input + "'";
      return false;
    }
  }
  return true;
}

}  // namespace kanafix::cli
