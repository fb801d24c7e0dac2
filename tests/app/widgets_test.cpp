#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <climits>

#include "tests/app/qt_test_environment.h"
#include "widgets/float_spin_edit.h"
#include "widgets/int_edit.h"
#include "widgets/page_control.h"

namespace {

TEST(Widgets, PagesHideAndComeBackInTheirPlace) {
    EnsureQtApplication();
    TPageControl pages;
    for (const char* caption : {"Select", "Move", "Rotate", "Joint"})
        pages.AddPage(new QLabel(caption), caption);
    EXPECT_EQ(pages.CurrentIndex(), 0);
    pages.SetPageVisible(1, false);
    pages.SetPageVisible(3, false);
    EXPECT_EQ(pages.VisibleCaptions(), (QStringList{"Select", "Rotate"}));
    pages.SetCurrentIndex(2);
    // A hidden current page hands over to the first visible one.
    pages.SetPageVisible(2, false);
    EXPECT_EQ(pages.CurrentIndex(), 0);
    pages.SetCurrentIndex(1);  // hidden pages cannot become current
    EXPECT_EQ(pages.CurrentIndex(), 0);
    pages.SetPageVisible(3, true);
    pages.SetPageVisible(1, true);
    EXPECT_EQ(pages.VisibleCaptions(), (QStringList{"Select", "Move", "Joint"}));
    QTest::mouseClick(pages.Tab(3), Qt::LeftButton);
    EXPECT_EQ(pages.CurrentIndex(), 3);
}

TEST(Widgets, NumberFieldsTakeNumbersOnly) {
    EnsureQtApplication();
    TIntEdit whole;
    QSignalSpy entered(&whole, &TIntEdit::entered);
    QTest::keyClicks(&whole, "1x2-");
    EXPECT_EQ(whole.text(), "12");
    QTest::keyClick(&whole, Qt::Key_Return);
    whole.setText("99999999999");
    QTest::keyClick(&whole, Qt::Key_Return);
    whole.clear();
    QTest::keyClick(&whole, Qt::Key_Return);  // nothing to hand over
    ASSERT_EQ(entered.count(), 2);
    EXPECT_EQ(entered[0][0].toInt(), 12);
    EXPECT_EQ(entered[1][0].toInt(), INT_MAX);

    TFloatSpinEdit fraction;
    fraction.setRange(-10, 10);
    QSignalSpy returns(&fraction, &TFloatSpinEdit::returnPressed);
    fraction.selectAll();
    QTest::keyClicks(&fraction, "2.5e");
    QTest::keyClick(&fraction, Qt::Key_Backspace);
    QTest::keyClick(&fraction, Qt::Key_Return);
    EXPECT_EQ(fraction.value(), 2.5);
    EXPECT_EQ(returns.count(), 1);
}

}  // namespace
