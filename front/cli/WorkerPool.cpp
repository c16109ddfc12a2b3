#include "front/cli/WorkerPool.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

namespace kanafix::cli {

namespace {

struct Worker {
  pid_t pid;
  size_t task;
  int fd;
  std::string data;
};

bool WriteAll(int fd, const std::string& data) {
  size_t written = 0;
  while (written < data.size()) {
    ssize_t n = ::write(fd, data.data() + written, data.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

[[noreturn]] void RunChild(const WorkerTasks& tasks, size_t task, int fd) {
  int status = 0;
  try {
    std::string result = tasks.run(task);
    if (!WriteAll(fd, result)) status = 3;
  } catch (...) {
    status = 4;
  }
  ::_exit(status);
}

std::string DescribeEnd(int status) {
  if (WIFSIGNALED(status)) {
    const int sig = WTERMSIG(status);
    const char* name = ::strsignal(sig);
    return "worker killed by signal " + std::to_string(sig) + (name ? std::string(" (") + name + ")" : "");
  }
  if (WIFEXITED(status)) return "worker exited with status " + std::to_string(WEXITSTATUS(status));
  return "worker ended abnormally";
}

WorkerResult Finish(Worker& worker) {
  ::close(worker.fd);
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(worker.pid, &status, 0);
  } while (r < 0 && errno == EINTR);
  WorkerResult result;
  if (r < 0) {
    result.failure = std::string("cannot wait for the worker: ") + std::strerror(errno);
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    result.completed = true;
    result.data = std::move(worker.data);
  } else {
    result.failure = DescribeEnd(status);
  }
  return result;
}

}  // namespace

void RunWorkers(const WorkerTasks& tasks) {
  const size_t jobs = tasks.jobs < 1 ? 1 : static_cast<size_t>(tasks.jobs);
  std::vector<Worker> active;
  size_t next = 0;

  while (next < tasks.count || !active.empty()) {
    while (active.size() < jobs && next < tasks.count) {
      const size_t task = next++;
      int fds[2];
      if (::pipe2(fds, O_CLOEXEC) != 0) {
        tasks.done(task, {false, "", std::string("cannot start a worker: ") + std::strerror(errno)});
        continue;
      }
      const pid_t pid = ::fork();
      if (pid < 0) {
        const int e = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        tasks.done(task, {false, "", std::string("cannot start a worker: ") + std::strerror(e)});
        continue;
      }
      if (pid == 0) {
        // The other workers' pipes belong to the parent alone.
        for (const Worker& w : active) ::close(w.fd);
        ::close(fds[0]);
        RunChild(tasks, task, fds[1]);
      }
      ::close(fds[1]);
      active.push_back({pid, task, fds[0], std::string()});
    }
    if (active.empty()) continue;

    std::vector<pollfd> polls;
    for (const Worker& w : active) polls.push_back({w.fd, POLLIN, 0});
    const int ready = ::poll(polls.data(), polls.size(), tasks.tickMilliseconds);
    if (ready < 0 && errno != EINTR) {
      // poll itself failed: fall back to reading each pipe to its end in turn.
      for (pollfd& p : polls) p.revents = POLLIN;
    }
    for (size_t i = polls.size(); i-- > 0;) {
      if (!(polls[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      Worker& worker = active[i];
      char buffer[65536];
      const ssize_t n = ::read(worker.fd, buffer, sizeof buffer);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n > 0) {
        worker.data.append(buffer, static_cast<size_t>(n));
        continue;
      }
      // End of the pipe: the worker has finished (or died).
      const size_t task = worker.task;
      WorkerResult result = Finish(worker);
      active.erase(active.begin() + static_cast<std::ptrdiff_t>(i));
      tasks.done(task, std::move(result));
    }
    if (tasks.tick) tasks.tick();
  }
}

}  // namespace kanafix::cli
