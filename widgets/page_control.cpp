#include "widgets/page_control.h"

#include <QButtonGroup>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QToolButton>
#include <algorithm>

TPageControl::TPageControl(QWidget* parent)
    : QWidget(parent),
      tabArea_(new QWidget(this)),
      group_(new QButtonGroup(this)),
      stack_(new QStackedWidget(this)) {
    group_->setExclusive(true);
    stack_->setFrameShape(QFrame::StyledPanel);
    connect(group_, &QButtonGroup::idClicked, this, &TPageControl::SetCurrentIndex);
}

int TPageControl::AddPage(QWidget* page, const QString& caption) {
    auto* tab = new QToolButton(tabArea_);
    tab->setText(caption);
    tab->setCheckable(true);
    tab->setAutoRaise(true);  // raised while the mouse is over it
    const int index = Count();
    group_->addButton(tab, index);
    stack_->addWidget(page);
    pages_.push_back({page, tab, true});
    if (index == 0) SetCurrentIndex(0);
    Relayout();
    return index;
}

QWidget* TPageControl::Page(int index) const {
    return index >= 0 && index < Count() ? pages_[static_cast<size_t>(index)].page : nullptr;
}

QToolButton* TPageControl::Tab(int index) const {
    return index >= 0 && index < Count() ? pages_[static_cast<size_t>(index)].tab : nullptr;
}

bool TPageControl::IsPageVisible(int index) const {
    return index >= 0 && index < Count() && pages_[static_cast<size_t>(index)].visible;
}

void TPageControl::SetPageVisible(int index, bool visible) {
    if (index < 0 || index >= Count()) return;
    Entry& entry = pages_[static_cast<size_t>(index)];
    if (entry.visible == visible) return;
    entry.visible = visible;
    entry.tab->setVisible(visible);
    if (!visible && stack_->currentIndex() == index) {
        int first = -1;
        for (int i = 0; i < Count() && first < 0; ++i)
            if (pages_[static_cast<size_t>(i)].visible) first = i;
        SetCurrentIndex(first);
    }
    Relayout();
}

QStringList TPageControl::VisibleCaptions() const {
    QStringList captions;
    for (const Entry& e : pages_)
        if (e.visible) captions << e.tab->text();
    return captions;
}

int TPageControl::CurrentIndex() const {
    const int i = stack_->currentIndex();
    return IsPageVisible(i) ? i : -1;
}

void TPageControl::SetCurrentIndex(int index) {
    if (!IsPageVisible(index)) {
        stack_->setVisible(false);
        return;
    }
    stack_->setVisible(true);
    const bool changed = stack_->currentIndex() != index;
    stack_->setCurrentIndex(index);
    pages_[static_cast<size_t>(index)].tab->setChecked(true);
    if (changed) emit currentChanged(index);
}

int TPageControl::LayOutTabs(int width, bool move) const {
    int x = 0, y = 0, rowHeight = 0;
    for (const Entry& e : pages_) {
        if (!e.visible) continue;
        const QSize size = e.tab->sizeHint();
        if (x > 0 && x + size.width() > width) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        if (move) e.tab->setGeometry(x, y, size.width(), size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
    return y + rowHeight;
}

void TPageControl::Relayout() {
    const int tabsHeight = LayOutTabs(width(), true);
    tabArea_->setGeometry(0, 0, width(), tabsHeight);
    stack_->setGeometry(0, tabsHeight, width(), std::max(0, height() - tabsHeight));
    updateGeometry();
}

void TPageControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
}

QSize TPageControl::sizeHint() const {
    QSize page(0, 0);
    for (const Entry& e : pages_) page = page.expandedTo(e.page->sizeHint());
    const int w = std::max(page.width(), 100);
    return {w, LayOutTabs(w, false) + page.height() + 4};
}

QSize TPageControl::minimumSizeHint() const {
    QSize page(0, 0);
    for (const Entry& e : pages_) page = page.expandedTo(e.page->minimumSizeHint());
    return {page.width(), page.height()};
}
