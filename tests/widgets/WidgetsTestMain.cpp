#include "framework/Application.h"
#include "framework/Colors.h"

#include <gtest/gtest.h>

// Widgets need the GUI: one application object for the whole run, with the classic desktop
// colours so that pictures do not depend on the desktop's theme.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    vd::TApplication app(argc, argv);
    vd::SystemColors::SetClassic();
    app.SetErrorDisplay([](const std::string&, const std::string& text) {
        ADD_FAILURE() << "error escaped a handler: " << text;
    });
    return RUN_ALL_TESTS();
}
