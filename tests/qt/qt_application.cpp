// One QApplication for the whole suite, made before the first test and
// gone after the last: widgets need it, and Qt allows only one. On the X
// platform without a display there is none, and the tests skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

bool CanOpenWindows() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const bool needsX = platform.isEmpty() || platform.startsWith("xcb");
  return !needsX || !qEnvironmentVariableIsEmpty("DISPLAY");
}

class QtApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) {
      qputenv("QT_XCB_GL_INTEGRATION", "none");
    }
    if (CanOpenWindows()) app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "morvane_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace
