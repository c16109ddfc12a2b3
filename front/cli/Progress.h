// The progress line shown on a terminal while a run works: a bar, files done
// of the total, fonts replaced so far and the time elapsed, redrawn in place.
#pragma once
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kanafix::cli {

// The line itself, at most width columns (the bar shrinks, and goes when even
// a short one does not fit), without any terminal control characters.
std::string RenderProgress(int64_t done, int64_t total, int64_t fonts, int64_t elapsedSeconds, size_t width);

// Draws the line on a stream that is a terminal. Results printed to the same
// terminal go between Clear and Draw so the line never mixes with them.
class ProgressDisplay {
public:
  // Disabled displays do nothing at all.
  ProgressDisplay(FILE* stream, bool enabled, size_t width);

  void Update(int64_t done, int64_t total, int64_t fonts);
  // Redraws with the current elapsed time.
  void Tick();
  // Removes the line (before other output, and at the end).
  void Clear();

private:
  void Draw();

  FILE* stream_;
  bool enabled_;
  size_t width_;
  bool shown_ = false;
  int64_t done_ = 0, total_ = 0, fonts_ = 0;
  std::string last_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace kanafix::cli
