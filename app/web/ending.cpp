// How the program ends in a browser. A page cannot end its WebAssembly
// process, and Qt's event loop never returns there, so the program takes its
// windows off the page and tells the page, which shows that the program has
// ended and offers to start it again (packaging/web/pokomoji.js).

#include "app/ending.h"

#include <QApplication>
#include <QWidget>

#include <emscripten.h>

namespace app {

void endProgram(int status)
{
    // Hidden, not closed: no window's closing runs, as on the desktop.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(status);
    // The page's handler, if it set one on the module before starting it.
    EM_ASM({
        if (typeof Module.pokomojiEnded === 'function') {
            Module.pokomojiEnded($0);
        }
    }, status);
}

} // namespace app
