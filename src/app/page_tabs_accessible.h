#pragma once

namespace hostlore {

class VerticalTab;

// Screen readers see the tab column as a page tab list whose page tabs carry
// their captions, the selected one marked; pressing one shows its page.
void InstallPageTabsAccessibility();

// Tells screen readers that the tab's page is now the one shown.
void NotifyPageTabSelected(VerticalTab& tab);

}  // namespace hostlore
