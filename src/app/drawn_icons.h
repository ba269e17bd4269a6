#pragma once

#include <QIcon>

namespace hostlore {

enum class DrawnIcon {
    Go,    // start a query
    Stop,  // stop a running whois query or scan
    Back,  // browser pane history
    Forward,
    Halt,  // stop loading a page
    Reload,
    BrowserUrl,  // take the URL the web browser shows
    PageInfo,    // a page tab
    Computer,    // the local network page's tab
};

// An icon drawn from lines in the palette's window text colour each time it
// is shown, so it follows a change of palette and is sharp at any scale.
QIcon MakeDrawnIcon(DrawnIcon kind);

}  // namespace hostlore
