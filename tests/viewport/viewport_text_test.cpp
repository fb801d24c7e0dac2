#include <gtest/gtest.h>

#include "viewport/coordinate_readout.h"
#include "viewport/gl_error_report.h"

namespace {

TEST(CoordinateReadout, SevenSignificantDigitsFiveDecimals) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.0f, "0.00000"},
        {1.5f, "1.50000"},
        {-12.3456789f, "-12.34568"},
        {0.000123456f, "0.00012"},
        {123456.789f, "123456.80000"},
        {-0.000001f, "0.00000"},
        {9999.9996f, "10000.00000"},
        {12345678.0f, "1.234568E+07"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatCoordinate(c.value), c.text) << c.value;
}

TEST(GLErrorReport, EachDistinctErrorOnceWhileItsBoxIsOpen) {
    rgGLErrorReport report;
    report.Collect(0, "GLViewport", 10);  // no error
    EXPECT_FALSE(report.HasPending());
    for (int frame = 0; frame < 3; ++frame) {
        report.Collect(1282, "GLViewport", 10);
        report.Collect(1282, "rgMesh", 10);
        report.Collect(1282, "GLViewport", 10);
    }
    std::vector<rgGLErrorReport::Error> shown = report.TakePending();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(rgGLErrorReport::Text(shown[0]), "Error: 1282  File: GLViewport Line: 10");
    // While its box is open the same error is not shown again; another one is.
    report.Collect(1282, "GLViewport", 10);
    report.Collect(1281, "GLViewport", 10);
    std::vector<rgGLErrorReport::Error> next = report.TakePending();
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].code, 1281u);
    report.Closed(shown[0]);
    report.Collect(1282, "GLViewport", 10);
    EXPECT_EQ(report.TakePending().size(), 1u);
}

}  // namespace
