// One QApplication for all colour GUI tests.
#include <QApplication>

#include <gtest/gtest.h>

namespace {

class QtApplication : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "colour_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

const testing::Environment* const kQtApplication =
    testing::AddGlobalTestEnvironment(new QtApplication);

} // namespace
