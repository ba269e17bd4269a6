#pragma once

#include <memory>

class QWebEngineProfile;

namespace hostlore {

// The one browser profile of the panes: cookies and site data in the user's
// data folder, the cache in the user's cache folder, never beside the
// program. Downloads are refused and addresses of schemes the engine does not
// know are never handed to other programs.
std::unique_ptr<QWebEngineProfile> MakePaneProfile();

}  // namespace hostlore
