#pragma once

#include <QProxyStyle>

namespace hostlore {

// The platform's style, except that the overflow buttons of menu and tool
// bars get their pictures when first drawn. Reading one picture loads every
// image format plugin, which would cost the first window milliseconds for a
// button that shows only when the window is too narrow for its menus.
class ProgramStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override;
};

// Puts the program's style over the application's, once.
void UseProgramStyle();

}  // namespace hostlore
