// moza: the desktop program.
#include <QApplication>

#include "ui/page_view.h"

int main(int argc, char** argv) {
    moza::ui::PreparePageEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Moza");
    QApplication::setApplicationVersion("1.00.0003");
    return 0;
}
