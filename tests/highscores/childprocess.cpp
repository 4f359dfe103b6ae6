// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/highscores/childprocess.h"

#include <cerrno>
#include <csignal>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// Appends what the pipe holds now; false at its end.
bool drain(int fd, QByteArray &into)
{
    char chunk[4096];
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0)
        into.append(chunk, n);
    return n > 0 || (n < 0 && errno == EINTR);
}

} // namespace

ChildProcess::ChildProcess(const QStringList &command)
{
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0)
        return;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);

    std::vector<std::string> words;
    for (const QString &word : command)
        words.push_back(word.toStdString());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    out_ = outPipe[0];
    err_ = errPipe[0];
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        wait();
    }
    if (out_ >= 0)
        ::close(out_);
    if (err_ >= 0)
        ::close(err_);
}

QByteArray ChildProcess::readLine()
{
    for (;;) {
        const qsizetype end = outBuffer_.indexOf('\n');
        if (end >= 0) {
            const QByteArray line = outBuffer_.left(end + 1);
            outBuffer_.remove(0, end + 1);
            return line;
        }
        if (out_ < 0 || !drain(out_, outBuffer_))
            return {};
    }
}

void ChildProcess::kill(int signal)
{
    if (pid_ > 0)
        ::kill(pid_, signal);
}

ChildProcess::Ending ChildProcess::wait()
{
    Ending ending;
    if (pid_ <= 0)
        return ending;
    ending.started = true;
    // Both pipes at once, so that a child filling one never blocks on it.
    bool outOpen = out_ >= 0;
    bool errOpen = err_ >= 0;
    while (outOpen || errOpen) {
        pollfd fds[2] = {{outOpen ? out_ : -1, POLLIN, 0}, {errOpen ? err_ : -1, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        if (fds[0].revents != 0)
            outOpen = drain(out_, outBuffer_);
        if (fds[1].revents != 0)
            errOpen = drain(err_, errBuffer_);
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) { }
    pid_ = -1;
    if (WIFEXITED(status))
        ending.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        ending.signal = WTERMSIG(status);
    ending.out = std::exchange(outBuffer_, {});
    ending.err = std::exchange(errBuffer_, {});
    return ending;
}

ChildProcess::Ending ChildProcess::run(const QStringList &command)
{
    ChildProcess child(command);
    return child.wait();
}
