#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <vector>

#include "rigmend/rigmend_window.h"
#include "tests/rigmend/qt_app.h"
#include "tests/rigmend/rigmend_fixture.h"

// Readable failure output for Qt strings (found by argument-dependent lookup).
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace rigmend {
namespace {

namespace fs = std::filesystem;

class RecordingSink : public MessageSink {
public:
    void Show(const Message& message) override { shown.push_back(message); }
    std::vector<Message> shown;
};

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        window_ = std::make_unique<RigmendWindow>(sink_, temp_.Path());
        field_ = window_->findChild<QLineEdit*>("clipField");
        list_ = window_->findChild<QListWidget*>("clipList");
        add_ = window_->findChild<QPushButton*>("addButton");
        remove_ = window_->findChild<QPushButton*>("removeButton");
        ASSERT_TRUE(field_ && list_ && add_ && remove_);
    }

    void AddClip(const QString& text) {
        field_->setText(text);
        QTest::mouseClick(add_, Qt::LeftButton);
    }

    // Hands files to the window the way a drag from a file manager does.
    void Drop(const std::vector<fs::path>& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const fs::path& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f));
        data.setUrls(urls);
        const QPoint at(100, 40);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &drop);
        const size_t before = sink_.shown.size();
        for (int i = 0; i < 100 && sink_.shown.size() == before; ++i) QTest::qWait(10);
    }

    // hero.skeleton.xml and hero.mesh.xml in the temporary folder.
    fs::path WriteExport() {
        const fs::path skeleton = temp_.Path() / "hero.skeleton.xml";
        rigmend_test::WriteFile(
            skeleton,
            rigmend_test::SkeletonText({{"3", "Root"}}, "2.0", rigmend_test::FrameRange(1, 24)));
        rigmend_test::WriteFile(temp_.Path() / "hero.mesh.xml",
                                rigmend_test::MeshText({"3"}, "C:\\x\\hero.skeleton.xml"));
        return skeleton;
    }

    rigmend_test::TempFolder temp_;
    RecordingSink sink_;
    std::unique_ptr<RigmendWindow> window_;
    QLineEdit* field_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
};

TEST_F(Window, StartsFixedSizeWithTheExampleClip) {
    EXPECT_EQ(window_->windowTitle(), "Rigmend v1.0.1");
    EXPECT_EQ(window_->minimumSize(), QSize(250, 280));
    EXPECT_EQ(window_->maximumSize(), QSize(250, 280));
    EXPECT_FALSE(window_->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(field_->text(), "Walk,1,12");
    EXPECT_EQ(list_->count(), 0);
}

TEST_F(Window, PlusAppendsAndMinusRemovesTheSelectedEntry) {
    QTest::mouseClick(add_, Qt::LeftButton);  // the example text, taken as it is
    AddClip("");                              // not validated, even empty
    AddClip("Run,13,24");
    EXPECT_EQ(window_->ClipEntries(), (QStringList{"Walk,1,12", "", "Run,13,24"}));
    EXPECT_EQ(list_->currentRow(), 2);
    EXPECT_TRUE(field_->text().isEmpty());

    list_->setCurrentRow(0);
    QTest::mouseClick(remove_, Qt::LeftButton);
    EXPECT_EQ(window_->ClipEntries(), (QStringList{"", "Run,13,24"}));
    EXPECT_EQ(list_->currentRow(), 1);
    EXPECT_TRUE(list_->item(1)->isSelected());

    list_->clearSelection();
    QTest::mouseClick(remove_, Qt::LeftButton);
    EXPECT_EQ(window_->ClipEntries(), (QStringList{"", "Run,13,24"}));
}

TEST_F(Window, FirstKeyTypedIntoTheFieldReplacesTheExampleOnce) {
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));

    list_->setFocus();
    QTest::keyClick(field_, Qt::Key_X);  // not focused: no emptying
    EXPECT_EQ(field_->text(), "Walk,1,12x");
    field_->setText("Walk,1,12");

    field_->setFocus();
    QTest::keyClick(field_, Qt::Key_Tab);  // moving the focus on does not count
    field_->setFocus();
    ASSERT_TRUE(field_->hasFocus());
    QTest::keyClicks(field_, "Run");
    EXPECT_EQ(field_->text(), "Run");

    QTest::keyClicks(field_, ",1,2");
    QTest::mouseClick(add_, Qt::LeftButton);
    field_->setText("Jump,3,4");
    field_->setFocus();
    QTest::keyClick(field_, Qt::Key_End);
    QTest::keyClicks(field_, "0");
    EXPECT_EQ(field_->text(), "Jump,3,40");
}

TEST_F(Window, DroppedSkeletonIsFixedAndTheListKeepsItsClips) {
    const fs::path skeleton = WriteExport();
    AddClip("Walk,1,12");
    AddClip("Run,13,24");
    AddClip("Jump,5,8");

    QStringList inserted;
    QObject::connect(list_->model(), &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int) {
                         inserted << list_->model()->index(first, 0).data().toString();
                     });
    // A drop of several files takes the first skeleton file among them.
    Drop({temp_.Path() / "hero.mesh.xml", skeleton});

    ASSERT_EQ(sink_.shown.size(), 1u);
    EXPECT_EQ(sink_.shown[0], (Message{"Done!", "Your files have been fixed!"}));
    EXPECT_EQ(inserted, QStringList{RigmendWindow::kWaitingEntry});
    EXPECT_EQ(window_->ClipEntries(), (QStringList{"Walk,1,12", "Run,13,24", "Jump,5,8"}));
    const auto animations =
        rigmend_test::Animations(rigmend_test::CrlfLines(rigmend_test::ReadFile(skeleton)));
    ASSERT_EQ(animations.size(), 3u);
    EXPECT_EQ(animations[2].name, "Jump");
    EXPECT_FALSE(fs::exists(temp_.Path() / "Rigmend Temp"));
}

TEST_F(Window, DropsThatCannotBeFixedSayWhy) {
    const fs::path skeleton = WriteExport();
    const std::string before = rigmend_test::ReadFile(skeleton);

    Drop({skeleton});  // the list is still empty
    AddClip("Walk,1,12");
    Drop({temp_.Path() / "hero.mesh.xml"});

    ASSERT_EQ(sink_.shown.size(), 2u);
    EXPECT_EQ(sink_.shown[0].text,
              "Before dropping a skeleton file, you need to add animation names and frames.");
    EXPECT_EQ(sink_.shown[1].text,
              "Only drag and drop '*.skeleton.xml' files that were exported from Kinemo.");
    EXPECT_EQ(rigmend_test::ReadFile(skeleton), before);
    EXPECT_EQ(window_->ClipEntries(), QStringList{"Walk,1,12"});
}

}  // namespace
}  // namespace rigmend
