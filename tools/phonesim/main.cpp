// phonesim: a simulated mobile phone behind a pseudo-terminal (see --help).
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "PhoneSession.h"
#include "SimOptions.h"

namespace {

int stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
  char byte = 1;
  ssize_t ignored = write(stopPipe[1], &byte, 1);
  (void)ignored;
}

bool InstallSignals() {
  if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
  // A parent such as Wine may hand down blocked or ignored signals; obexftpd children are
  // reaped by waitpid, which an ignored SIGCHLD would defeat.
  signal(SIGCHLD, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  std::string error;
  switch (ParseOptions(argc, argv, options, error)) {
    case ParseOutcome::Help:
      std::fputs(HelpText().c_str(), stdout);
      return 0;
    case ParseOutcome::Error:
      std::fprintf(stderr, "phonesim: %s\n", error.c_str());
      return 2;
    case ParseOutcome::Run:
      break;
  }
  if (!InstallSignals()) {
    std::perror("phonesim: pipe");
    return 1;
  }
  PhoneSession session(options);
  if (!session.Start(error)) {
    std::fprintf(stderr, "phonesim: %s\n", error.c_str());
    return 1;
  }
  session.Run(stopPipe[0]);
  return 0;
}
