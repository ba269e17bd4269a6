#include "app/palette_text.h"

#include <QEvent>
#include <QWidget>
#include <cmath>
#include <vector>

namespace hostlore {

namespace {

double RelativeLuminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

class BackgroundFollower : public QObject {
  public:
    BackgroundFollower(QWidget* widget, QPalette::ColorRole background, const QColor& onLight,
                       const QColor& onDark, std::initializer_list<QPalette::ColorRole> textRoles)
        : QObject(widget),
          widget_(widget),
          background_(background),
          onLight_(onLight),
          onDark_(onDark),
          textRoles_(textRoles) {
        Choose();
        widget->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange) {
            Choose();
        }
        return false;
    }

  private:
    void Choose() {
        QPalette palette = widget_->palette();
        const QColor behind = palette.color(background_);
        const QColor text =
            ContrastRatio(onLight_, behind) >= ContrastRatio(onDark_, behind) ? onLight_ : onDark_;
        bool changed = false;
        for (const QPalette::ColorRole role : textRoles_) {
            for (const auto group : {QPalette::Active, QPalette::Inactive}) {
                changed = changed || palette.color(group, role) != text;
                palette.setColor(group, role, text);
            }
        }
        // Setting the palette raises the event again; the second time nothing changes.
        if (changed) {
            widget_->setPalette(palette);
        }
    }

    QWidget* widget_;
    QPalette::ColorRole background_;
    QColor onLight_;
    QColor onDark_;
    std::vector<QPalette::ColorRole> textRoles_;
};

}  // namespace

double ContrastRatio(const QColor& first, const QColor& second) {
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

void FollowBackground(QWidget* widget, QPalette::ColorRole background, const QColor& onLight,
                      const QColor& onDark, std::initializer_list<QPalette::ColorRole> textRoles) {
    new BackgroundFollower(widget, background, onLight, onDark, textRoles);
}

}  // namespace hostlore
