#include "front/cli/Progress.h"

#include <algorithm>

namespace kanafix::cli {

std::string RenderProgress(int64_t done, int64_t total, int64_t fonts, int64_t elapsedSeconds, size_t width) {
  char time[32];
  std::snprintf(time, sizeof time, "%lld:%02lld", static_cast<long long>(elapsedSeconds / 60),
                static_cast<long long>(elapsedSeconds % 60));
  const std::string counts = std::to_string(done) + "/" + std::to_string(total) + " files  " + std::to_string(fonts) +
                             (fonts == 1 ? " font" : " fonts") + "  " + time;
  constexpr size_t kMinBar = 5;
  // "[" bar "] " counts
  if (width < counts.size() + kMinBar + 3) return counts.size() <= width ? counts : counts.substr(0, width);
  const size_t bar = std::min<size_t>(width - counts.size() - 3, 40);
  const size_t filled = total > 0 ? static_cast<size_t>(bar * std::min(done, total) / total) : 0;
  return "[" + std::string(filled, '#') + std::string(bar - filled, '.') + "] " + counts;
}

ProgressDisplay::ProgressDisplay(FILE* stream, bool enabled, size_t width)
    : stream_(stream), enabled_(enabled), width_(width > 1 ? width - 1 : 1),
      start_(std::chrono::steady_clock::now()) {}

void ProgressDisplay::Update(int64_t done, int64_t total, int64_t fonts) {
  done_ = done;
  total_ = total;
  fonts_ = fonts;
  Draw();
}

void ProgressDisplay::Tick() { Draw(); }

void ProgressDisplay::Draw() {
  if (!enabled_) return;
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_).count();
  std::string line = RenderProgress(done_, total_, fonts_, elapsed, width_);
  if (shown_ && line == last_) return;
  // Carriage return, the line, then erase whatever an older, longer line left.
  std::fprintf(stream_, "\r%s\x1b[K", line.c_str());
  std::fflush(stream_);
  last_ = std::move(line);
  shown_ = true;
}

void ProgressDisplay::Clear() {
  if (!enabled_ || !shown_) return;
  std::fputs("\r\x1b[K", stream_);
  std::fflush(stream_);
  shown_ = false;
}

}  // namespace kanafix::cli
