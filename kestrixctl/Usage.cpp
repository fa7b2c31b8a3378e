#include "kestrixctl/Usage.h"

#include <iostream>

#include "TextSupport/VisibleText.h"
#include "kestrixctl/Invocation.h"

namespace kestrixctl {

const std::string_view usageLine =
    "usage: kestrixctl [--world FILE | --demo] [--trace] [--history FILE] [--no-password] COMMAND [OPTIONS]";

const std::string_view helpText = R"(kestrixctl: list the drives you can eject, see what keeps one busy, and eject it.

usage: kestrixctl [--world FILE | --demo] [--trace] [--history FILE] [--no-password] COMMAND [OPTIONS]

System (these may stand anywhere on the line):
  --world FILE         run on the simulated system that FILE describes
  --demo               run on the built-in demonstration system
  --trace              write every call made to the system on stderr, one line each
  --history FILE       keep the eject history in FILE
  --no-password        never let the system ask for a password; what needs one is refused (for scripts)
  --help               show this text

Commands:
  drives               list the drives you can eject
      --json                 print the drives as JSON
      --show-disk-images     also list disk images
      --show-network-shares  also list network shares
  check DRIVE          show what keeps DRIVE busy (a quick scan, then a deep one when it finds nothing)
      --deep                 go straight to the deep scan (also reads mapped files)
      --json, --show-disk-images, --show-network-shares as above
  eject DRIVE          eject DRIVE when nothing holds it
      --force                eject even if something holds it (asks first unless --yes)
      --yes                  do not ask before a forced eject
      --json, --show-disk-images, --show-network-shares as above
  quit-and-eject DRIVE ask the apps holding DRIVE to quit, then eject it
      --end PID              also end this command-line program (repeatable)
      --json, --show-disk-images, --show-network-shares as above
  eject-all            eject every listed drive
      --json, --show-disk-images, --show-network-shares as above
  history              show the eject history and the repeat offenders
      --json                 print the history as JSON
      --top N                how many repeat offenders to show (default 5)
      --clear                empty the history
  url LINK             print the command a kestrix:// link stands for, as JSON (null when it is none)

DRIVE is a drive's name or the name of one of its volumes, ignoring case and accents.
A drive that is unmounted but still in use (a file open on a forced unmount, another mount
namespace) is left attached: the ejecting commands say what keeps it, wait until it is released,
then eject it.
"--" ends the options, for a name that begins with "-": kestrixctl eject -- -backup

On this machine, drives eject through the desktop's disk service (UDisks2) when it runs, with the
permissions your desktop gives you; where it asks for a password, kestrixctl has polkit's text
agent ask for it in the terminal. Without the disk service, only root can eject.

Exit status: 0 done, 1 not done (a drive is busy or missing, or ejecting it was refused), 2 bad
arguments or a bad world file.
)";

int usageError(const Invocation& invocation, const std::string& message) {
    invocation.err << "kestrixctl: " << textsupport::visibleText(message) << '\n' << usageLine << '\n';
    return exitUsage;
}

}  // namespace kestrixctl
