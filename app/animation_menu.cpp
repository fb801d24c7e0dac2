#include "app/animation_menu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "app/number_dialog.h"
#include "editing/animation_control.h"
#include "editing/rg_editor.h"

TAnimationMenu::TAnimationMenu(QMenuBar& bar, QAction* before, rgEditor& editor)
    : QObject(&bar), editor_(editor) {
    AnimationMenu = new QMenu("&Animation", &bar);
    AnimationMenu->setObjectName("Animation1");
    bar.insertMenu(before, AnimationMenu);
    rgAnimationControl& animation = editor_.animation();

    PlaySpeed1 = AnimationMenu->addMenu("Play Speed");
    auto* speeds = new QActionGroup(this);
    const struct {
        const char* caption;
        const char* name;
        float speed;
        QAction** item;
    } speedItems[] = {{"1/4", "N141", 0.25f, &N141},
                      {"1/2", "N121", 0.5f, &N121},
                      {"1", "N12", 1.0f, &N12},
                      {"2", "N21", 2.0f, &N21},
                      {"4", "N41", 4.0f, &N41}};
    for (const auto& s : speedItems) {
        const float speed = s.speed;
        *s.item = AddRadio(*PlaySpeed1, *speeds, s.caption, s.name,
                           [&animation, speed] { animation.SetPlaySpeed(speed); });
    }
    N12->setChecked(true);

    SetFramerate1 = AnimationMenu->addMenu("Set Framerate");
    rates_ = new QActionGroup(this);
    const struct {
        const char* caption;
        const char* name;
        float rate;
        QAction** item;
    } rateItems[] = {{"12", "N122", 12, &N122},
                     {"24", "N241", 24, &N241},
                     {"25", "N251", 25, &N251},
                     {"30", "N301", 30, &N301}};
    for (const auto& r : rateItems) {
        const float rate = r.rate;
        *r.item = AddRadio(*SetFramerate1, *rates_, r.caption, r.name,
                           [&animation, rate] { animation.SetFrameRate(rate); });
    }
    N241->setChecked(true);
    rateTick_ = N241;
    for (QAction* item : rates_->actions())
        connect(item, &QAction::triggered, this, [this, item] { rateTick_ = item; });
    Custom1 =
        AddRadio(*SetFramerate1, *rates_, "Custom ...", "Custom1", [this] { Custom1Click(); });

    KeyframeInterpolation1 = AnimationMenu->addMenu("Keyframe Interpolation");
    auto* modes = new QActionGroup(this);
    const struct {
        const char* caption;
        const char* name;
        int mode;
        QAction** item;
    } modeItems[] = {{"Constant", "Constant1", kInterpConstant, &Constant1},
                     {"Linear", "Linear1", kInterpLinear, &Linear1},
                     {"Spline", "Spline1", kInterpSpline, &Spline1}};
    for (const auto& m : modeItems) {
        const int mode = m.mode;
        *m.item = AddRadio(*KeyframeInterpolation1, *modes, m.caption, m.name,
                           [&animation, mode] { animation.SetInterpolation(mode); });
    }
    Spline1->setChecked(true);

    AnimationMenu->addSeparator();
    AutoKeyframing1 = AnimationMenu->addAction("Auto Keyframing");
    AutoKeyframing1->setObjectName("AutoKeyframing1");
    AutoKeyframing1->setCheckable(true);
    connect(AutoKeyframing1, &QAction::triggered, this,
            [&animation](bool on) { animation.SetAutoKeyframing(on); });
    AnimationMenu->addSeparator();

    askFrameRate = [&bar](double current) { return GetFloat(bar.window(), current, ""); };
    connect(AnimationMenu, &QMenu::aboutToShow, this, [this] { ShowSettings(); });
    ShowLevel(editor_.state().editLevel);
}

QAction* TAnimationMenu::AddRadio(QMenu& menu, QActionGroup& group, const char* caption,
                                  const char* name, std::function<void()> choose) {
    QAction* item = menu.addAction(caption);
    item->setObjectName(name);
    item->setCheckable(true);
    group.addAction(item);
    connect(item, &QAction::triggered, this, std::move(choose));
    return item;
}

void TAnimationMenu::Custom1Click() {
    const float current = editor_.state().framesPerSecond;
    const double chosen = askFrameRate(current);
    if (chosen == static_cast<double>(current)) {
        // Cancelled (or the same rate): the tick goes back where it was.
        rateTick_->setChecked(true);
        return;
    }
    // A rate of 0 or less becomes 1 (the animation command sees to it).
    editor_.animation().SetFrameRate(static_cast<float>(chosen));
    rateTick_ = Custom1;
}

void TAnimationMenu::ShowSettings() {
    const rgState& state = editor_.state();
    const struct {
        QAction* item;
        bool on;
    } ticks[] = {{N141, state.playSpeed == 0.25f},       {N121, state.playSpeed == 0.5f},
                 {N12, state.playSpeed == 1.0f},         {N21, state.playSpeed == 2.0f},
                 {N41, state.playSpeed == 4.0f},         {Constant1, state.interpolation == 0},
                 {Linear1, state.interpolation == 1},    {Spline1, state.interpolation == 2},
                 {AutoKeyframing1, state.autoKeyframing}};
    // Only `triggered` runs commands, so setting ticks here changes nothing.
    for (const auto& t : ticks)
        if (t.on || t.item == AutoKeyframing1) t.item->setChecked(t.on);  // groups untick the rest
}

void TAnimationMenu::ShowLevel(int level) {
    AnimationMenu->menuAction()->setVisible(level == kEditAnimation);
}
