#include "app/key_info_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <limits>

#include "animation/tcb_preview.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "widgets/float_spin_edit.h"
#include "widgets/roll_out.h"

namespace {

constexpr double kNoLimit = std::numeric_limits<float>::max();

TFloatSpinEdit* Field(QWidget* parent, const char* name, double step) {
    auto* field = new TFloatSpinEdit(parent);
    field->setObjectName(name);
    field->setRange(-kNoLimit, kNoLimit);
    field->setSingleStep(step);
    field->setFixedWidth(72);
    return field;
}

// "X:", "Y:", "Z:" beside three fields, "Tension:", "Continuity:", "Bias:"
// beside three more, and the preview on the right.
void FillRollOut(QWidget* content, TFloatSpinEdit* const fields[6], TTcbPreview* preview) {
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(2);
    const char* labels[6] = {"X:", "Y:", "Z:", "Tension:", "Continuity:", "Bias:"};
    for (int i = 0; i < 6; ++i) {
        const int row = i % 3, column = i < 3 ? 0 : 2;
        grid->addWidget(new QLabel(labels[i], content), row, column);
        grid->addWidget(fields[i], row, column + 1);
    }
    grid->addWidget(preview, 0, 4, 3, 1);
    grid->setColumnStretch(5, 1);
}

}  // namespace

TTcbPreview::TTcbPreview(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedSize(kWidth + 2 * frameWidth(), kHeight + 2 * frameWidth());
}

void TTcbPreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect area = contentsRect();
    p.translate(area.topLeft());
    p.setClipRect(0, 0, area.width(), area.height());
    const int w = area.width(), h = area.height();
    p.fillRect(0, 0, w, h, QColor(192, 192, 192));
    p.setPen(QColor(128, 128, 128));
    p.drawLine(w / 2, 0, w / 2, h);
    p.drawLine(0, h / 2, w, h / 2);
    double t = 0, c = 0, b = 0;
    if (!parameters || !parameters(t, c, b)) return;

    const std::vector<tcbpreview::Point> curve = tcbpreview::Curve(t, c, b, w, h);
    p.setPen(Qt::white);
    for (size_t i = 1; i < curve.size(); ++i)
        p.drawLine(curve[i - 1].x, curve[i - 1].y, curve[i].x, curve[i].y);
    p.setPen(Qt::red);
    for (const tcbpreview::Point& k : tcbpreview::Keys(w, h)) {
        p.drawLine(k.x, k.y - 2, k.x, k.y + 2);
        p.drawLine(k.x - 2, k.y, k.x + 2, k.y);
    }
}

TKeyInfoForm::TKeyInfoForm(rgEditor& editor, QWidget* parent)
    : QDialog(parent, Qt::Tool), editor_(editor), browser_(editor) {
    setObjectName("TKeyInfoForm");
    setWindowTitle("Key Info");
    setModal(true);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);  // sized to its contents
    column->setSpacing(4);

    GeneralInfo = new TRollOut("General Info", this);
    auto* general = new QGridLayout(GeneralInfo->Content());
    general->setContentsMargins(6, 2, 6, 4);
    JointCombo = new QComboBox(GeneralInfo->Content());
    JointCombo->setObjectName("JointCombo");
    JointCombo->setFixedWidth(185);
    KeyLabel = new QLabel(GeneralInfo->Content());
    KeyLabel->setObjectName("KeyLabel");
    FrameLabel = new QLabel(GeneralInfo->Content());
    FrameLabel->setObjectName("FrameLabel");
    general->addWidget(new QLabel("Info for: ", GeneralInfo->Content()), 0, 0);
    general->addWidget(JointCombo, 0, 1);
    general->addWidget(new QLabel("Key:", GeneralInfo->Content()), 1, 0);
    general->addWidget(KeyLabel, 1, 1);
    general->addWidget(new QLabel("Frame:", GeneralInfo->Content()), 2, 0);
    general->addWidget(FrameLabel, 2, 1);
    column->addWidget(GeneralInfo);

    Translation = new TRollOut("Translation", this);
    QWidget* tContent = Translation->Content();
    tx = Field(tContent, "tx", 1.0), ty = Field(tContent, "ty", 1.0),
    tz = Field(tContent, "tz", 1.0);
    tt = Field(tContent, "tt", 0.1), tc = Field(tContent, "tc", 0.1),
    tb = Field(tContent, "tb", 0.1);
    trans_paint = new TTcbPreview(tContent);
    trans_paint->setObjectName("trans_paint");
    TFloatSpinEdit* const tFields[6] = {tx, ty, tz, tt, tc, tb};
    FillRollOut(tContent, tFields, trans_paint);
    column->addWidget(Translation);

    Rotation = new TRollOut("Rotation", this);
    QWidget* rContent = Rotation->Content();
    rx = Field(rContent, "rx", 1.0), ry = Field(rContent, "ry", 1.0),
    rz = Field(rContent, "rz", 1.0);
    rt = Field(rContent, "rt", 0.1), rc = Field(rContent, "rc", 0.1),
    rb = Field(rContent, "rb", 0.1);
    for (TFloatSpinEdit* f : {rx, ry, rz}) {
        f->setReadOnly(true);
        f->setButtonSymbols(QAbstractSpinBox::NoButtons);
        QPalette palette = f->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        f->setPalette(palette);
    }
    rot_paint = new TTcbPreview(rContent);
    rot_paint->setObjectName("rot_paint");
    TFloatSpinEdit* const rFields[6] = {rx, ry, rz, rt, rc, rb};
    FillRollOut(rContent, rFields, rot_paint);
    column->addWidget(Rotation);

    auto* buttons = new QHBoxLayout;
    PrevKeyBtn = new QPushButton("Previous Key", this);
    PrevKeyBtn->setObjectName("PrevKeyBtn");
    NextKeyBtn = new QPushButton("Next Key", this);
    NextKeyBtn->setObjectName("NextKeyBtn");
    CloseBtn = new QPushButton("Close", this);
    CloseBtn->setObjectName("CloseBtn");
    // Enter belongs to the number fields, not to a default button.
    for (QPushButton* b : {PrevKeyBtn, NextKeyBtn, CloseBtn}) b->setAutoDefault(false);
    buttons->addWidget(PrevKeyBtn);
    buttons->addWidget(NextKeyBtn);
    buttons->addStretch(1);
    buttons->addWidget(CloseBtn);
    column->addLayout(buttons);

    const auto fieldValues = [](TFloatSpinEdit* a, TFloatSpinEdit* b, TFloatSpinEdit* c) {
        return vector3(static_cast<float>(a->value()), static_cast<float>(b->value()),
                       static_cast<float>(c->value()));
    };
    for (TFloatSpinEdit* f : {tx, ty, tz})
        connect(f, &TFloatSpinEdit::valueChanged, this, [this, fieldValues] {
            if (!filling_) browser_.SetTranslation(fieldValues(tx, ty, tz));
        });
    for (TFloatSpinEdit* f : {tt, tc, tb})
        connect(f, &TFloatSpinEdit::valueChanged, this, [this, fieldValues] {
            if (filling_) return;
            browser_.SetTranslationTcb(fieldValues(tt, tc, tb));
            trans_paint->update();
        });
    for (TFloatSpinEdit* f : {rt, rc, rb})
        connect(f, &TFloatSpinEdit::valueChanged, this, [this, fieldValues] {
            if (filling_) return;
            browser_.SetRotationTcb(fieldValues(rt, rc, rb));
            rot_paint->update();
        });
    const auto previewOf = [this](TFloatSpinEdit* t, TFloatSpinEdit* c, TFloatSpinEdit* b) {
        return [this, t, c, b](double& tension, double& continuity, double& bias) {
            tension = t->value(), continuity = c->value(), bias = b->value();
            return browser_.CurrentJoint() != nullptr;
        };
    };
    trans_paint->parameters = previewOf(tt, tc, tb);
    rot_paint->parameters = previewOf(rt, rc, rb);

    connect(JointCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (filling_) return;
        browser_.ChooseJoint(index);
        ShowKey();
    });
    connect(PrevKeyBtn, &QPushButton::clicked, this, [this] {
        browser_.PreviousKey();
        ShowKey();
    });
    connect(NextKeyBtn, &QPushButton::clicked, this, [this] {
        browser_.NextKey();
        ShowKey();
    });
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TKeyInfoForm::Load(rgBone* joint) {
    browser_.Open(joint);
    filling_ = true;
    JointCombo->clear();
    for (rgBone* j : browser_.Joints()) JointCombo->addItem(QString::fromStdString(j->GetName()));
    JointCombo->setCurrentIndex(browser_.JointIndex());
    filling_ = false;
    ShowKey();
}

void TKeyInfoForm::Open(rgBone* joint) {
    Load(joint);
    exec();
}

void TKeyInfoForm::ShowKey() {
    const rgKeyInfo info = browser_.Shown();
    // Filling the fields edits nothing: no key gets values of another.
    filling_ = true;
    KeyLabel->setText(QString::fromStdString(info.keyLabel));
    FrameLabel->setText(QString::fromStdString(info.frameLabel));
    const std::pair<TFloatSpinEdit*, float> values[] = {
        {tx, info.translation.x}, {ty, info.translation.y}, {tz, info.translation.z},
        {rx, info.rotation.x},    {ry, info.rotation.y},    {rz, info.rotation.z},
        {tt, info.transTcb.x},    {tc, info.transTcb.y},    {tb, info.transTcb.z},
        {rt, info.rotTcb.x},      {rc, info.rotTcb.y},      {rb, info.rotTcb.z}};
    for (const auto& [field, value] : values) {
        field->setValue(info.hasKey ? value : 0.0);
        field->setEnabled(info.hasKey);
    }
    PrevKeyBtn->setEnabled(info.hasKey);
    NextKeyBtn->setEnabled(info.hasKey);
    filling_ = false;
    trans_paint->update();
    rot_paint->update();
}
