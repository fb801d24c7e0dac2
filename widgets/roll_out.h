#pragma once

#include <QWidget>

class QToolButton;

// A panel under a header button that folds it away and brings it back.
// Controls go into Content().
class TRollOut : public QWidget {
    Q_OBJECT
public:
    explicit TRollOut(const QString& caption, QWidget* parent = nullptr);

    QWidget* Content() const { return content_; }
    QToolButton* Header() const { return header_; }
    bool IsExpanded() const;
    void SetExpanded(bool expanded);

signals:
    void expandedChanged(bool expanded);

private:
    QToolButton* header_;
    QWidget* content_;
};
