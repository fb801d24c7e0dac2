#pragma once

#include <QDialog>
#include <QPixmap>

// "Arrange": the layouts offered for n viewport windows as picture buttons,
// and "Cancel". The result is the chosen layout (1-based), 0 for Cancel.
class TArrangeForm : public QDialog {
    Q_OBJECT
public:
    TArrangeForm(int windowCount, QWidget* parent = nullptr);

    int ChoiceCount() const { return choices_; }
    // Asks and returns the choice (0: cancelled).
    static int Ask(int windowCount, QWidget* parent);

private:
    int choices_;
};

// A picture of layout `choice` for n windows: numbered window rectangles.
QPixmap ArrangementPicture(int windowCount, int choice, int width, int height);
