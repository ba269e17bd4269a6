#pragma once

#include <string>
#include <vector>

class QComboBox;
class QString;

namespace hostlore {

// The URL box: an editable box whose list is the history of queried URLs.
QComboBox* MakeUrlBox();

// The list's entries, in list order.
std::vector<std::string> UrlBoxEntries(const QComboBox& box);

// Adds `urls` to the list and leaves the typed text as it was.
void AddUrlBoxEntries(QComboBox& box, const std::vector<std::string>& urls);

// Shows `url`, the form of the typed text that is queried, and adds it to the
// list unless the list holds it in any letter case.
void ShowQueriedUrl(QComboBox& box, const QString& url);

}  // namespace hostlore
