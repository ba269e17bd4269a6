#include "app/options/window_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <optional>

#include "settings/settings_store.h"

namespace hostlore {

namespace {

constexpr std::string_view kIsDesigned = "isdesigned";
constexpr std::string_view kWindowState = "WindowState";
constexpr std::string_view kLeft = "Left";
constexpr std::string_view kTop = "Top";
constexpr std::string_view kWidth = "Width";
constexpr std::string_view kHeight = "Height";
constexpr std::string_view kStored = "y";

enum StoredState { kNormal = 0, kMinimised = 1, kMaximised = 2 };

// The part of a window's top edge that must be on a screen for the user to
// reach its title bar and drag it.
constexpr int kGripWidth = 100;
constexpr int kGripHeight = 50;

QRect AvailableArea(const QScreen* screen) {
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

// The free area of the screen that shows enough of the window's top edge for
// the user to reach its title bar and drag it.
std::optional<QRect> AreaShowingTopEdge(const QRect& bounds) {
    const QRect topEdge(bounds.topLeft(),
                        QSize(bounds.width(), std::min(bounds.height(), kGripHeight)));
    const int wanted = std::min(bounds.width(), kGripWidth);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = AvailableArea(screen);
        const QRect shown = topEdge.intersected(area);
        if (shown.width() >= wanted && shown.height() >= topEdge.height()) {
            return area;
        }
    }
    return std::nullopt;
}

// A window larger than the area in one direction takes the whole area that way.
QRect ShrunkToFit(QRect bounds, const QRect& area) {
    if (bounds.width() > area.width()) {
        bounds.setLeft(area.left());
        bounds.setWidth(area.width());
    }
    if (bounds.height() > area.height()) {
        bounds.setTop(area.top());
        bounds.setHeight(area.height());
    }
    return bounds;
}

// `size`, cut to fit the primary screen, in the middle of it as large as the
// window opens: when shown, its layout grows it to the least it needs.
QRect CentredOnPrimaryScreen(const QWidget& form, const QSize& size) {
    const QRect area = AvailableArea(QGuiApplication::primaryScreen());
    if (area.isEmpty()) {
        return {QPoint(0, 0), size};
    }
    const QSize opening = size.expandedTo(form.minimumSizeHint()).boundedTo(area.size());
    const QRect centred = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, opening, area);
    return {centred.topLeft(), size.boundedTo(area.size())};
}

void Place(QWidget& form, const QRect& bounds) {
    form.move(bounds.topLeft());
    form.resize(bounds.size());
}

}  // namespace

TPosition::TPosition(QWidget& form, std::filesystem::path file)
    : form_(form), file_(std::move(file)) {}

std::string TPosition::Section() const {
    return form_.objectName().toStdString() + " Position";
}

void TPosition::Restore() {
    const SettingsStore store(file_);
    const std::string section = Section();
    const bool stored = store.ReadString(section, kIsDesigned, "n") == kStored;
    if (store.ReadInteger(section, kWindowState, kNormal) == kMaximised) {
        // Leaving the maximised state gives the designed size, not an older one.
        Place(form_, CentredOnPrimaryScreen(form_, form_.size()));
        form_.setWindowState(form_.windowState() | Qt::WindowMaximized);
        return;
    }
    // A window minimised at the last save opens in its normal state.
    // A size of nothing would leave no window to see; it counts as no number.
    const auto length = [&](std::string_view key, int designed) {
        const int stored = store.ReadInteger(section, key, designed);
        return stored > 0 ? stored : designed;
    };
    const QRect bounds(store.ReadInteger(section, kLeft, form_.x()),
                       store.ReadInteger(section, kTop, form_.y()), length(kWidth, form_.width()),
                       length(kHeight, form_.height()));
    // Bounds that no screen shows any more (a monitor unplugged, a smaller
    // resolution) would leave the window out of the user's reach, and so
    // would a window larger than its screen.
    const std::optional<QRect> area = stored ? AreaShowingTopEdge(bounds) : std::nullopt;
    Place(form_, area ? ShrunkToFit(bounds, *area) : CentredOnPrimaryScreen(form_, bounds.size()));
}

void TPosition::Save() const {
    const std::string section = Section();
    const Qt::WindowStates state = form_.windowState();
    const bool maximised = state.testFlag(Qt::WindowMaximized);
    // The program's only window: the application is minimised exactly when it is.
    const bool minimised = state.testFlag(Qt::WindowMinimized);
    const int stored = minimised ? kMinimised : maximised ? kMaximised : kNormal;
    std::vector<SettingWrite> writes = {
        {section, std::string(kWindowState), std::to_string(stored)},
        {section, std::string(kIsDesigned), std::string(kStored)},
    };
    // A maximised window keeps the normal bounds of an earlier save.
    if (!maximised) {
        const auto add = [&](std::string_view key, int value) {
            writes.push_back({section, std::string(key), std::to_string(value)});
        };
        add(kLeft, form_.x());
        add(kTop, form_.y());
        add(kWidth, form_.width());
        add(kHeight, form_.height());
    }
    SettingsStore(file_).WriteStrings(writes);
}

}  // namespace hostlore
