#pragma once

// The program's icon with every size it is drawn at (16, 22, 24, 32 and 48
// pixels), so that title bars, task bars and window switchers pick a drawn
// image instead of shrinking one themselves.

#include <QIcon>

namespace app {

QIcon programIcon();

} // namespace app
