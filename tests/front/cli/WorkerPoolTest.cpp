#include "front/cli/WorkerPool.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <csignal>
#include <map>
#include <thread>

namespace kanafix::cli {
namespace {

int64_t NowMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

TEST(WorkerPool, EveryTaskEndsOnceWithItsOwnResultAndRunsInAnotherProcess) {
  const pid_t parent = ::getpid();
  std::map<size_t, WorkerResult> results;
  WorkerTasks tasks;
  tasks.count = 9;
  tasks.jobs = 3;
  tasks.run = [parent](size_t i) {
    // Process-wide state changed here must not reach the caller.
    std::signal(SIGUSR1, SIG_IGN);
    return std::string(::getpid() == parent ? "same" : "other") + std::to_string(i);
  };
  tasks.done = [&](size_t i, WorkerResult r) { EXPECT_TRUE(results.emplace(i, std::move(r)).second) << i; };
  RunWorkers(tasks);
  ASSERT_EQ(results.size(), 9u);
  for (auto& [i, r] : results) {
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.data, "other" + std::to_string(i));
  }
  EXPECT_NE(std::signal(SIGUSR1, SIG_DFL), SIG_IGN);
}

TEST(WorkerPool, CrashesAndExitsAreFailuresOfTheirTaskOnly) {
  std::map<size_t, WorkerResult> results;
  WorkerTasks tasks;
  tasks.count = 4;
  tasks.jobs = 2;
  tasks.run = [](size_t i) -> std::string {
    if (i == 1) std::raise(SIGKILL);
    if (i == 2) ::_exit(7);
    if (i == 3) throw std::runtime_error("boom");
    return "fine";
  };
  tasks.done = [&](size_t i, WorkerResult r) { results[i] = std::move(r); };
  RunWorkers(tasks);
  ASSERT_EQ(results.size(), 4u);
  EXPECT_TRUE(results[0].completed);
  EXPECT_EQ(results[0].data, "fine");
  EXPECT_FALSE(results[1].completed);
  EXPECT_NE(results[1].failure.find("signal 9"), std::string::npos) << results[1].failure;
  EXPECT_FALSE(results[2].completed);
  EXPECT_NE(results[2].failure.find("status 7"), std::string::npos) << results[2].failure;
  EXPECT_FALSE(results[3].completed);
  EXPECT_FALSE(results[3].failure.empty());
}

TEST(WorkerPool, ResultsLargerThanAPipeBufferArriveWhole) {
  std::map<size_t, WorkerResult> results;
  WorkerTasks tasks;
  tasks.count = 3;
  tasks.jobs = 3;
  tasks.run = [](size_t i) { return std::string(3 * 1024 * 1024 + i, static_cast<char>('a' + i)); };
  tasks.done = [&](size_t i, WorkerResult r) { results[i] = std::move(r); };
  RunWorkers(tasks);
  for (size_t i = 0; i < 3; ++i) {
    ASSERT_TRUE(results[i].completed);
    EXPECT_EQ(results[i].data, std::string(3 * 1024 * 1024 + i, static_cast<char>('a' + i)));
  }
}

TEST(WorkerPool, RunsAtMostJobsAtATimeAndReallyInParallel) {
  for (int jobs : {1, 3}) {
    std::vector<std::pair<int64_t, int64_t>> spans;
    WorkerTasks tasks;
    tasks.count = 6;
    tasks.jobs = jobs;
    tasks.run = [](size_t) {
      const int64_t start = NowMicros();
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      return std::to_string(start) + " " + std::to_string(NowMicros());
    };
    tasks.done = [&](size_t, WorkerResult r) {
      ASSERT_TRUE(r.completed);
      int64_t a = 0, b = 0;
      const size_t space = r.data.find(' ');
      std::from_chars(r.data.data(), r.data.data() + space, a);
      std::from_chars(r.data.data() + space + 1, r.data.data() + r.data.size(), b);
      spans.emplace_back(a, b);
    };
    RunWorkers(tasks);
    ASSERT_EQ(spans.size(), 6u);
    // The largest number of spans that cover one instant (some span's start).
    int most = 0;
    for (const auto& s : spans) {
      int covering = 0;
      for (const auto& t : spans) covering += t.first <= s.first && s.first < t.second;
      most = std::max(most, covering);
    }
    EXPECT_LE(most, jobs);
    if (jobs > 1) {
      EXPECT_GT(most, 1);
    }
  }
}

}  // namespace
}  // namespace kanafix::cli
