#include "qvmclient.h"

// The environment every helper program starts with. The array is exported
// and writable, and it is read afresh at each start, so a caller that
// changes an entry changes what the next child sees. The caller's own
// environment is never passed on.
namespace
{

char home[] = "HOME=/";
char path[] = "PATH=/bin:/usr/bin:/usr/bin/quorvane";
char user[] = "USER=root";
char libraryPath[] = "LD_LIBRARY_PATH=/usr/lib";

} // namespace

char* envp[5] = {home, path, user, libraryPath, nullptr};
