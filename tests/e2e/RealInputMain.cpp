// main() for the real-input tests: a private Xvfb with openbox for this
// process, Qt on its xcb platform there, then the tests. Listing the tests
// (as the test discovery does) starts nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "e2e/RealInput.h"

namespace {

class Desktop final : public ::testing::Environment {
public:
    Desktop(int argc, char** argv) : argc_(argc), argv_(argv) {}

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(stallmark::e2e::RealDesktop::Start(error)) << error;
        const std::string display = stallmark::e2e::RealDesktop::Get().DisplayName();
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("QT_SCALE_FACTOR");
        unsetenv("QT_FONT_DPI");
        // A private runtime folder, as a desktop session has.
        runtime_ = std::filesystem::temp_directory_path() / ("stallmark-e2e-" + std::to_string(getpid()));
        std::filesystem::create_directories(runtime_);
        std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        app_ = std::make_unique<QApplication>(argc_, argv_);
        QApplication::setApplicationName(QStringLiteral("Stallmark"));
    }

    void TearDown() override {
        app_.reset();
        stallmark::e2e::RealDesktop::Stop();
        std::error_code ignored;
        std::filesystem::remove_all(runtime_, ignored);
    }

private:
    int argc_;
    char** argv_;
    std::filesystem::path runtime_;
    std::unique_ptr<QApplication> app_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Desktop(argc, argv));
    return RUN_ALL_TESTS();
}
