#pragma once

#include "FakePlotServer.h"
#include "MessageBoxWatcher.h"
#include "TestEnvironment.h"
#include "tarnwick/app/Form1.h"
#include "tarnwick/base/HandlerGuard.h"

#include <QApplication>
#include <QTest>
#include <memory>

/// A main window in a fresh application directory with the fake plot server, its guard recording
/// the end of the program instead of ending the test.
class Form1Fixture
{
public:
    Form1Fixture()
        : guard([this](int code) {
            exitCode = code;
            QApplication::closeAllWindows();
        })
    { }

    Form1 &create()
    {
        form = std::make_unique<Form1>(env.environment(), guard);
        return *form;
    }
    Form1 &start()
    {
        create();
        loaded = form->load();
        return *form;
    }
    /// Starts over the real plot server, found beside the test in servers/, not the fake.
    Form1 &startWithRealServer()
    {
        server.reset();
        return start();
    }
    template<typename T> T *control(const char *name) const
    {
        return form->findChild<T *>(QLatin1String(name));
    }

    TestEnvironment env;
    std::unique_ptr<FakePlotServerRegistration> server = std::make_unique<FakePlotServerRegistration>();
    MessageBoxWatcher boxes;
    int exitCode = -1;
    HandlerGuard guard;
    std::unique_ptr<Form1> form;
    bool loaded = false;
};
