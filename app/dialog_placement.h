#pragma once

class QWidget;

// Small dialogs open in the middle of the screen, at their natural size.
void CentreOnScreen(QWidget& dialog);
