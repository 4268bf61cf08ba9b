// A clear word when there is no display, and the application's name and version.
#include "startup.h"

#include <QApplication>
#include <QtGlobal>

#include <cstdio>

namespace startup {

bool displayAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

int reportNoDisplay()
{
    std::fputs("zarquel: no display to open a window on; run it in a desktop session, "
               "or in a virtual one with: xvfb-run zarquel\n",
               stderr);
    return 1;
}

void describeApplication()
{
    QApplication::setApplicationName(QStringLiteral("Zarquel"));
    QApplication::setApplicationVersion(QStringLiteral(ZARQUEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZARQUEL_APP_ID));
}

} // namespace startup
