// How the program ends in a browser. A page cannot end its WebAssembly
// process, and Qt's event loop never returns there, so the program takes its
// windows off the page and tells the page, which shows that the program has
// ended and offers to start it again (packaging/web/page.js).

#include "app/ending.h"

#include <QApplication>
#include <QWidget>

#include <emscripten.h>

// The page's handler, if it set one on the module before starting it. The
// body is JavaScript, which clang-format would take for C++.
// clang-format off
EM_JS(void, tellPageProgramEnded, (int status), {
    if (typeof Module.pokomojiEnded === 'function') {
        Module.pokomojiEnded(status);
    }
});
// clang-format on

namespace app {

void endProgram(int status)
{
    // Hidden, not closed: no window's closing runs, as on the desktop.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(status);
    tellPageProgramEnded(status);
}

} // namespace app
