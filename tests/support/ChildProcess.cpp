#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

extern char** environ;

ChildResult RunChild(const std::vector<std::string>& argv, const ChildOptions& options) {
  ChildResult result;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> envStrings;
  // An extra entry replaces an inherited one of the same name: with both,
  // getenv() would find the inherited one first.
  auto replaced = [&options](const std::string& entry) {
    const std::size_t equals = entry.find('=');
    if (equals == std::string::npos) return false;
    const std::string name = entry.substr(0, equals + 1);
    for (const std::string& extra : options.environment)
      if (extra.compare(0, name.size(), name) == 0) return true;
    return false;
  };
  for (char** e = environ; *e; ++e)
    if (!replaced(*e)) envStrings.push_back(*e);
  for (const std::string& extra : options.environment) envStrings.push_back(extra);
  std::vector<char*> env;
  for (std::string& entry : envStrings) env.push_back(entry.data());
  env.push_back(nullptr);

  int out[2];
  int err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return result;
  pid_t pid = fork();
  if (pid == 0) {
    rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if ((!options.directory.empty() && chdir(options.directory.c_str()) != 0) ||
        dup2(out[1], STDOUT_FILENO) < 0 || dup2(err[1], STDERR_FILENO) < 0)
      _exit(126);
    execve(args[0], args.data(), env.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);

  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
  bool ready = false;
  bool outOpen = true;
  bool errOpen = true;
  while (outOpen || errOpen) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd fds[2] = {{outOpen ? out[0] : -1, POLLIN, 0}, {errOpen ? err[0] : -1, POLLIN, 0}};
    if (poll(fds, 2, static_cast<int>(left)) <= 0) continue;
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        (i == 0 ? outOpen : errOpen) = false;
        continue;
      }
      (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
    }
    if (!ready && options.onReady && !options.readyText.empty() &&
        result.out.find(options.readyText) != std::string::npos) {
      ready = true;
      options.onReady(pid);
    }
  }
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exited = WIFEXITED(status);
  result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return result;
}

std::string MakeTestDirectory(const std::string& prefix) {
  std::string pattern = prefix + "-XXXXXX";
  return mkdtemp(pattern.data()) ? pattern : std::string();
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}
