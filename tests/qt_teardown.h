#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QString>
#include <QThreadPool>
#include <QWidget>

// Ends what the test process's QApplication started, after the last test
// and before the process exits. LeakSanitizer stops every thread at exit
// to scan memory; a thread that ends just then (a pool thread whose 30 s
// idle time ran out) can crash its tracer, and the run fails after every
// test passed. The windows close and the pool's threads are ended now; the
// threads left (the X event reader, the GL driver's workers) wait on their
// queues until the process ends. The application itself stays: deleting it
// unloads the GL driver, whose allocations LeakSanitizer would then report
// without a name to suppress them by.
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
        QThreadPool::globalInstance()->clear();
        QThreadPool::globalInstance()->setExpiryTimeout(0);  // idle threads end at once
        QThreadPool::globalInstance()->waitForDone();
    }

private:
    QString scratch_;
};

// Call once, when the test process creates its QApplication.
inline void RegisterQtTeardown(const QString& scratch = {}) {
    ::testing::AddGlobalTestEnvironment(new QtApplicationTeardown(scratch));
}
