#pragma once

#include <QAbstractButton>
#include <QIcon>
#include <vector>

class QStackedWidget;
class QButtonGroup;

namespace hostlore {

// One tab of a PageControl: drawn by the style as a tab on the left side,
// its caption written vertically.
class VerticalTab : public QAbstractButton {
    Q_OBJECT

  public:
    static constexpr int kMaxLength = 140;

    VerticalTab(const QIcon& icon, const QString& caption, QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// Pages with their tabs on the left, in as many columns as the height needs,
// so that every tab stays in sight.
class PageControl : public QWidget {
    Q_OBJECT

  public:
    explicit PageControl(QWidget* parent = nullptr);

    void AddPage(QWidget* page, const QIcon& icon, const QString& caption);
    int count() const { return static_cast<int>(tabs_.size()); }
    int currentIndex() const;
    void setCurrentIndex(int index);
    QWidget* widget(int index) const;
    VerticalTab* tab(int index) const { return tabs_.at(static_cast<std::size_t>(index)); }
    void SetTabFont(const QFont& font);

  signals:
    void currentChanged(int index);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ArrangeTabs();

    QWidget* tabArea_;
    QStackedWidget* pages_;
    QButtonGroup* group_;
    std::vector<VerticalTab*> tabs_;
};

}  // namespace hostlore
