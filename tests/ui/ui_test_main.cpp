#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/app.h"
#include "app/callbacks.h"
#include "ui/toolkit_testing.h"
#include "ui_test_support.h"

struct ResetDialogs : testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { Dialogs().Reset(); }
};

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    InitToolkit(argc, argv);
    RegisterProgramCallbacks();
    SetDialogHook(&Dialogs());
    SetScreensForTesting(kTestDesktop);
    testing::UnitTest::GetInstance()->listeners().Append(new ResetDialogs);
    return RUN_ALL_TESTS();
}
