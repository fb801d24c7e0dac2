#include "app/tool_window_keeper.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <QWindow>

namespace {

constexpr const char* kKeyProperty = "kinemoPlaceKey";

QString SettingsKey(const QWidget& window) {
    return "Windows/" + window.property(kKeyProperty).toString();
}

}  // namespace

TToolWindowKeeper::TToolWindowKeeper(QWidget& main) : QObject(&main), main_(main) {}

bool TToolWindowKeeper::Keep(QWidget& window, const QString& key) {
    window.setProperty(kKeyProperty, key);
    window.installEventFilter(this);
    const QPoint place = QSettings("Tamrik", "Kinemo").value(SettingsKey(window)).toPoint();
    if (place.isNull()) return false;
    // A place on a screen that is no longer there is not given back.
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(place)) {
            window.move(place);
            window.setProperty("kinemoPlaced", true);
            return true;
        }
    }
    return false;
}

void TToolWindowKeeper::StorePlaces() {
    for (QObject* child : main_.findChildren<QObject*>())
        if (auto* window = qobject_cast<QWidget*>(child))
            if (window->isWindow() && window->isVisible() && window->property(kKeyProperty).isValid())
                StorePlace(*window);
}

void TToolWindowKeeper::StorePlace(QWidget& window) {
    QSettings("Tamrik", "Kinemo").setValue(SettingsKey(window), window.pos());
}

bool TToolWindowKeeper::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window) return false;
    if (event->type() == QEvent::Show && window->isWindow()) {
        QWindow* own = window->windowHandle();
        QWindow* owner = main_.windowHandle();
        if (own && owner && own->transientParent() != owner) own->setTransientParent(owner);
    } else if (event->type() == QEvent::Hide && window->isWindow()) {
        StorePlace(*window);
    }
    return false;
}
