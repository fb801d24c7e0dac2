#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

// The "Ok" and "Cancel" buttons at the bottom right of a dialog, added to
// `column`: Ok is the default button and accepts, Cancel (and Escape) rejects.
void AddOkCancelRow(QDialog& dialog, QBoxLayout& column, QPushButton*& ok, QPushButton*& cancel);
