#pragma once

#include <QWidget>
#include <vector>

class QButtonGroup;
class QStackedWidget;
class QToolButton;

// Pages with tabs that wrap onto as many lines as the width needs. Pages can
// be hidden and shown again in their place; a hidden current page hands
// over to the first visible one. The tab under the mouse is highlighted.
class TPageControl : public QWidget {
    Q_OBJECT
public:
    explicit TPageControl(QWidget* parent = nullptr);

    // Adds a page at the end, visible; returns its index.
    int AddPage(QWidget* page, const QString& caption);
    int Count() const { return static_cast<int>(pages_.size()); }
    QWidget* Page(int index) const;
    QToolButton* Tab(int index) const;

    void SetPageVisible(int index, bool visible);
    bool IsPageVisible(int index) const;
    // Captions of the visible pages, in order.
    QStringList VisibleCaptions() const;

    int CurrentIndex() const;
    void SetCurrentIndex(int index);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Places the visible tabs in rows across the width; returns the height
    // of the rows.
    int LayOutTabs(int width, bool move) const;
    void Relayout();

    struct Entry {
        QWidget* page;
        QToolButton* tab;
        bool visible;
    };
    std::vector<Entry> pages_;
    QWidget* tabArea_;
    QButtonGroup* group_;
    QStackedWidget* stack_;
};
