// Starts Zarquel: one window, no options.
#include "frmzarquel.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (!startup::displayAvailable())
        return startup::reportNoDisplay();
    QApplication app(argc, argv);
    startup::describeApplication();
    frmZarquel window;
    window.show();
    return app.exec();
}
