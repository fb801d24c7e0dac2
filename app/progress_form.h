#pragma once

#include <QWidget>

class QProgressBar;

// "Working ...": the gauge scripts drive while they work (a long import, a
// frame-range export). It has no title-bar buttons; the user cannot close
// it. Minimum 0, maximum 100, position 0 until a script sets them.
class TProgressForm : public QWidget {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);

    void ProgressShow();
    void ProgressHide() { hide(); }
    // A maximum below the minimum becomes the minimum.
    void SetRange(int min, int max);
    // Positions outside the range show as its nearest end. Returns true when
    // what the gauge shows changed (it has been repainted then).
    bool SetPosition(int position);

    QProgressBar* Gauge = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
};
