// The setup program. It runs from its distribution folder and installs into the Wine
// prefix named by WINEPREFIX (else ~/.wine), as Wine itself does.
//
// The program itself is built without widgets, so that --help, --detect and an unattended run
// load none of Qt's libraries. The window lives in a module beside it, loaded when it is shown.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include "installer/SetupMain.h"
#include "installer/WindowModule.h"

namespace {

// A standard stream that was closed when the program started (`>&-`) would give its number to
// the first file the run opens, and the status lines would be written into that file: each
// closed one is opened on /dev/null instead, so that what is said there is simply lost.
void KeepStandardStreamsApart() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    // The lowest free number is the one just found closed; anything else is not ours to keep.
    if (opened >= 0 && opened != fd) ::close(opened);
  }
}

}  // namespace

int main(int argc, char** argv) {
  KeepStandardStreamsApart();
  // A reader that goes away (`| head -1`, `| grep -q`) must not end the run halfway: the write
  // fails instead, the stream stops taking text, and the run goes to its end as before.
  std::signal(SIGPIPE, SIG_IGN);
  // Writing past a file size limit (ulimit -f) would end the program by a signal, halfway
  // through a run; ignored, the write fails instead, and the run reports that one file as it
  // reports any other failed copy or registry write, then goes on.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (RunNeedsWindow(args)) return RunInWindowModule(argc, argv);
  return RunSetup(args);
}
