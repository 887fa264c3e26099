#include "ending.h"

#include <QCoreApplication>

namespace app {

void endProgram(int status)
{
    // The event loop ends without asking any window to close, so no
    // window's closing runs.
    QCoreApplication::exit(status);
}

} // namespace app
