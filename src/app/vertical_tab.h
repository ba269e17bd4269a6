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
    static constexpr int kMaxLength = 140;

    VerticalTab(const QIcon& icon, const QString& caption, QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace hostlore
