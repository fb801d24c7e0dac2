#include "app/script_pump.h"

#include <QApplication>
#include <QEvent>
#include <QOpenGLWidget>
#include <QTimer>
#include <QWidget>

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

}  // namespace

TScriptPump::TScriptPump(QObject* parent) : QObject(parent) {}

void TScriptPump::Allow(QWidget* control) {
    allowed_.emplace_back(control);
}

void TScriptPump::PumpAtMost(std::chrono::milliseconds interval) {
    if (std::chrono::steady_clock::now() - last_ < interval) return;
    Pump();
}

void TScriptPump::Pump() {
    if (pumping_ || !QApplication::instance()) return;
    pumping_ = true;
    if (onPump) onPump();
    qApp->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    qApp->removeEventFilter(this);
    last_ = std::chrono::steady_clock::now();
    pumping_ = false;
}

bool TScriptPump::Allowed(QObject* receiver) const {
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    if (!widget) return false;
    // A box the script brought up (a message) takes its own input.
    if (QWidget* modal = QApplication::activeModalWidget())
        if (modal == widget || modal->isAncestorOf(widget)) return true;
    for (const QPointer<QWidget>& control : allowed_)
        if (control && control->isEnabled() && (control == widget || control->isAncestorOf(widget)))
            return true;
    return false;
}

bool TScriptPump::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Timer) return qobject_cast<QTimer*>(watched) != nullptr;
    if (type == QEvent::Close) return event->spontaneous();
    if (type == QEvent::Paint) return qobject_cast<QOpenGLWidget*>(watched) != nullptr;
    if (!IsUserInput(type)) return false;
    // Window-level input goes on to the control under it, which decides.
    if (watched->isWindowType()) return false;
    return !Allowed(watched);
}
