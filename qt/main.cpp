// Starts Zarquel: one window; --help and --version answer and end.
#include "commandline.h"
#include "qtwindow.h"
#include "startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const commandline::Request request = commandline::parse(argc, argv);
    if (request.kind != commandline::Request::Play)
        return commandline::answer(request);
    startup::watchForNoDisplay(request);
    QApplication app(argc, argv);
    startup::displayOpened();
    startup::describeApplication();
    QtWindow window;
    window.show();
    return app.exec();
}
