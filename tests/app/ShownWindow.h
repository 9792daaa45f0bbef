#pragma once

#include "FakeAudioOutput.h"
#include "app/MainWindow.h"
#include "support/FakeDialogs.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace vocafetch {

// The main window shown on screen with a fake audio output, its dialogs answered by the test,
// and a folder of the test's own.
struct ShownWindow
{
    // Call as ASSERT_NO_FATAL_FAILURE(showWindow()).
    void showWindow()
    {
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<TForm1>(dialogs);
        auto output = std::make_unique<FakeAudioOutput>();
        audio = output.get();
        window->setAudioOutput(std::move(output));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TForm1> window;
    FakeAudioOutput *audio = nullptr;
};

} // namespace vocafetch
