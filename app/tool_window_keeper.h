#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Keeps the editor's floating tool windows with the main window under a
// window manager: each time one is shown it is made transient for the main
// window's current native window (Qt may replace that window once an OpenGL
// viewport joins it, leaving earlier windows transient for a hidden one), so
// it stays above the main window and goes to another desktop with it. Its
// place is kept in the user's settings and given back in the next session.
class TToolWindowKeeper : public QObject {
public:
    explicit TToolWindowKeeper(QWidget& main);

    // Looks after `window` from now on; `key` names its place in the settings.
    // Answers whether a place from an earlier session was given back.
    bool Keep(QWidget& window, const QString& key);
    // Writes the places of the visible windows (the main window calls it as it closes).
    void StorePlaces();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StorePlace(QWidget& window);
    QWidget& main_;
};
