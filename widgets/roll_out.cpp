#include "widgets/roll_out.h"

#include <QToolButton>
#include <QVBoxLayout>

TRollOut::TRollOut(const QString& caption, QWidget* parent)
    : QWidget(parent), header_(new QToolButton(this)), content_(new QWidget(this)) {
    header_->setText(caption);
    header_->setCheckable(true);
    header_->setChecked(true);
    header_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header_->setArrowType(Qt::DownArrow);
    header_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(header_);
    layout->addWidget(content_);
    connect(header_, &QToolButton::toggled, this, [this](bool on) {
        header_->setArrowType(on ? Qt::DownArrow : Qt::RightArrow);
        content_->setVisible(on);
        emit expandedChanged(on);
    });
}

bool TRollOut::IsExpanded() const {
    return header_->isChecked();
}

void TRollOut::SetExpanded(bool expanded) {
    header_->setChecked(expanded);
}
