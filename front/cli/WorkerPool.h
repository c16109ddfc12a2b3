// Runs a list of tasks in separate worker processes, at most a given number at
// a time. Each task runs in a child forked from the caller and hands back its
// result as bytes through a pipe, so whatever a task does to process-wide state
// (locale, open files, a crash) stays in its own process.
#pragma once
#include <functional>
#include <string>

namespace kanafix::cli {

struct WorkerResult {
  bool completed = false;  // the task returned and the worker exited normally
  std::string data;        // what the task returned (when completed)
  std::string failure;     // otherwise: how the worker ended, e.g. "worker killed by signal 11 (...)"
};

struct WorkerTasks {
  size_t count = 0;
  int jobs = 1;
  // Runs task i in the worker process and returns its result.
  std::function<std::string(size_t)> run;
  // Called in the calling process as each task ends, in the order they end.
  std::function<void(size_t, WorkerResult)> done;
  // Called in the calling process about every tickMilliseconds while tasks run.
  std::function<void()> tick;
  int tickMilliseconds = 200;
};

// Runs every task and returns when all have ended. The caller must flush its
// own stdio buffers before (a forked child would otherwise inherit them; the
// workers leave with _exit and never flush them).
void RunWorkers(const WorkerTasks& tasks);

}  // namespace kanafix::cli
