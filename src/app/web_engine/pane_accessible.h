#pragma once

namespace hostlore {

class WebEnginePane;

// What screen readers are told about the panes: a pane's page counts as
// focused only while the keyboard focus is in it, a page on a hidden pane is
// not showing, and the engine's off-screen drawing windows, which never reach
// the screen, are no windows of the program. Installed before the
// application object exists.
void InstallPaneAccessibility();

// Tells screen readers that the pane's page gained or lost the focus.
void AnnouncePageFocus(WebEnginePane& pane);

}  // namespace hostlore
