// Starts a program and waits for it, with the monotonic clock's reading just
// before the start in POKOMOJI_BENCH_T0_NS, so that the program can measure
// its own start-up from the moment it was launched: fork, exec, the dynamic
// loader and everything after.
//
//   bench_launch PROGRAM [ARGS...]

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    setenv("POKOMOJI_BENCH_T0_NS", std::to_string(ns).c_str(), 1);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        execv(argv[1], argv + 1);
        std::perror("execv");
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) < 0) {
        std::perror("waitpid");
        return 2;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
