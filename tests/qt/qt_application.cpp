// One QApplication for the whole suite, made before the first test and
// gone after the last: widgets need it, and Qt allows only one.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class QtApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) {
      qputenv("QT_XCB_GL_INTEGRATION", "none");
    }
    app_ = std::make_unique<QApplication>(argc_, argv_);
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
