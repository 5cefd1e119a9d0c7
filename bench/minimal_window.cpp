// The minimal Qt window the start-up benchmark measures the program against: a QApplication
// and one empty window of the main window's size that prints "first frame" when it is first
// painted. It links Qt Widgets only, as the smallest program of its kind would.

#include <QApplication>
#include <QWidget>

#include <cstdio>

namespace {

class MinimalWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_reported) {
            m_reported = true;
            std::fputs("first frame\n", stdout);
            std::fflush(stdout);
        }
    }

private:
    bool m_reported = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    MinimalWindow window;
    window.resize(1000, 640);
    window.show();
    return QApplication::exec();
}
