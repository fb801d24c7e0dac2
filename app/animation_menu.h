#pragma once

#include <QObject>
#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class rgEditor;

// The "&Animation" menu: play speed, frame rate, key interpolation and
// Auto Keyframing, each item calling its animation command. Visible only at
// the Animation level.
class TAnimationMenu : public QObject {
    Q_OBJECT
public:
    // The menu goes into `bar` before `before` (at the end when null).
    TAnimationMenu(QMenuBar& bar, QAction* before, rgEditor& editor);

    void ShowLevel(int level);

    QMenu* AnimationMenu = nullptr;
    QMenu* PlaySpeed1 = nullptr;
    QMenu* SetFramerate1 = nullptr;
    QMenu* KeyframeInterpolation1 = nullptr;
    QAction *N141 = nullptr, *N121 = nullptr, *N12 = nullptr, *N21 = nullptr, *N41 = nullptr;
    QAction *N122 = nullptr, *N241 = nullptr, *N251 = nullptr, *N301 = nullptr;
    QAction* Custom1 = nullptr;
    QAction *Constant1 = nullptr, *Linear1 = nullptr, *Spline1 = nullptr;
    QAction* AutoKeyframing1 = nullptr;

    // Asks for the custom frame rate, preset to `current`; by default the
    // number dialog with an empty caption.
    std::function<double(double current)> askFrameRate;

private:
    QAction* AddRadio(QMenu& menu, QActionGroup& group, const char* caption, const char* name,
                      std::function<void()> choose);
    void Custom1Click();
    // Ticks that scripts may have made stale: speed, interpolation, auto keys.
    void ShowSettings();

    rgEditor& editor_;
    QActionGroup* rates_ = nullptr;
    QAction* rateTick_ = nullptr;  // the frame rate item ticked last by the user
};
