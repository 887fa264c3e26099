#pragma once

// How the program ends on its platform. A desktop program's event loop ends
// and its process exits with the status; a web page cannot end its process,
// so there the windows go and the page says that the program has ended.

namespace app {

void endProgram(int status);

} // namespace app
