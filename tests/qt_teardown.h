#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QString>
#include <QThreadPool>
#include <QWidget>

// Ends what the test process's QApplication started, after the last test
// and before the process exits. LeakSanitizer stops every thread at exit
// to scan memory; a thread that ends just then (a pool thread whose idle
// time ran out, the X event reader) can crash its tracer, and the run
// fails after every test passed. With the windows, the pool and the
// application gone, only the main thread is left to stop.
class QtApplicationTeardown : public ::testing::Environment {
public:
    // `scratch`: a folder of the process's own to remove as well (none: empty).
    explicit QtApplicationTeardown(QString scratch) : scratch_(std::move(scratch)) {}
    void TearDown() override {
        if (!scratch_.isEmpty()) QDir(scratch_).removeRecursively();
        QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        if (!app) return;
        for (QWidget* window : QApplication::topLevelWidgets()) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qDeleteAll(QApplication::topLevelWidgets());
        QThreadPool::globalInstance()->clear();
        QThreadPool::globalInstance()->waitForDone();
        delete app;
    }

private:
    QString scratch_;
};

// Call once, when the test process creates its QApplication.
inline void RegisterQtTeardown(const QString& scratch = {}) {
    ::testing::AddGlobalTestEnvironment(new QtApplicationTeardown(scratch));
}
