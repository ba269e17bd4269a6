#pragma once

#include <QAbstractButton>
#include <QIcon>

namespace hostlore {

// One tab of a PageControl: drawn by the style as a tab on the left side,
// its caption written vertically. The bar it stands in takes the focus for
// it, so a tab draws the focus mark when the bar has the focus and it is the
// selected one.
class VerticalTab : public QAbstractButton {
    Q_OBJECT

  public:
    // The longest a tab grows: 140 pixels at the layout's font size, more with
    // a larger desktop font.
    static int MaxLength();

    VerticalTab(const QIcon& icon, const QString& caption, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    // The caption as the tab shows it: shortened when its room is too short.
    QString ShownCaption() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The room the icon and the gaps around it take along the tab.
    int DecorationLength() const;
};

}  // namespace hostlore
