// One clear line and status 1 when no display can be opened, whatever the reason.
#include "startup.h"

#include "commandline.h"

#include <QApplication>
#include <QList>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace startup {

namespace {

constexpr const char* GetADisplay = "run it in a desktop session, or in a virtual one with: xvfb-run zarquel";

DisplayFacts facts;
int savedStderr = -1;
QtMessageHandler previousHandler = nullptr;

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage>* held = nullptr;

bool isWaylandName(const std::string& name)
{
    return name.rfind("wayland", 0) == 0;
}

// Only the platforms the game can run on get the display's line; others name the setting.
bool choosesUnusablePlatform(const std::string& platform)
{
    std::size_t start = 0;
    while (start <= platform.size()) {
        const std::size_t end = std::min(platform.find(';', start), platform.size());
        const std::string name = platform.substr(start, end - start);
        if (name == "xcb" || isWaylandName(name))
            return false;
        start = end + 1;
    }
    return true;
}

// Messages about platforms tried and passed over are noise once another one worked.
bool isFallbackNoise(const HeldMessage& message)
{
    return message.category.startsWith("qt.qpa.plugin") || message.category.startsWith("qt.qpa.xcb")
           || message.category.startsWith("qt.qpa.wayland") || message.text.contains(QLatin1String("wl_display"));
}

void writeLine(const std::string& line)
{
    const std::string out = line + "\n";
#if defined(Q_OS_UNIX)
    const int fd = savedStderr >= 0 ? savedStderr : STDERR_FILENO;
    [[maybe_unused]] const auto written = ::write(fd, out.data(), out.size());
#else
    std::fputs(out.c_str(), stderr);
#endif
}

// Qt ends a failed platform start with a fatal message listing the plugins it has.
void handleStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        const qsizetype list = text.indexOf(QLatin1String("Available platform plugins are:"));
        if (list >= 0)
            facts.waylandSupport = text.indexOf(QLatin1String("wayland"), list) >= 0;
        writeLine(noDisplayLine(facts));
        // Nothing to clean up yet, and no core to leave behind.
        std::_Exit(1);
    }
    held->append({type, QByteArray(context.category ? context.category : ""), text});
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string noDisplayLine(const DisplayFacts& facts)
{
    const std::string prefix = "zarquel: ";
    if (!facts.platform.empty() && choosesUnusablePlatform(facts.platform))
        return prefix + "the Qt platform \"" + facts.platform + "\" (" + facts.platformSource
               + ") cannot open a window here; leave it out to use the desktop's display";
    if (facts.hasWayland && !facts.waylandSupport)
        return prefix + "Qt's Wayland support is not installed (apt install qt6-wayland)"
               + (facts.hasX ? ", and the X display \"" + facts.x + "\" cannot be opened; "
                             : " and there is no X display; ")
               + GetADisplay;
    if (facts.hasWayland)
        return prefix + "cannot connect to the Wayland display \"" + facts.wayland + "\""
               + (facts.hasX ? " nor open the X display \"" + facts.x + "\"; " : "; ") + GetADisplay;
    if (facts.hasX)
        return prefix + "cannot open the X display \"" + facts.x + "\"; check DISPLAY, or run it in a virtual one with: xvfb-run zarquel";
    return prefix + "no display to open a window on; " + GetADisplay;
}

void watchForNoDisplay(const commandline::Request& request)
{
    facts = DisplayFacts {};
    facts.platform = request.platform.empty() ? environment("QT_QPA_PLATFORM") : request.platform;
    facts.platformSource = request.platform.empty() ? "QT_QPA_PLATFORM" : "-platform";
    facts.x = request.display.empty() ? environment("DISPLAY") : request.display;
    facts.hasX = !facts.x.empty();
    facts.wayland = environment("WAYLAND_DISPLAY");
    facts.hasWayland = !facts.wayland.empty();

    held = new QList<HeldMessage>;
    previousHandler = qInstallMessageHandler(handleStartupMessage);
#if defined(Q_OS_UNIX)
    // Display libraries print their own complaints straight to stderr; the one line says it all.
    std::fflush(stderr);
    savedStderr = ::dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (savedStderr >= 0 && null >= 0)
        ::dup2(null, STDERR_FILENO);
    if (null >= 0)
        ::close(null);
#endif
}

void displayOpened()
{
#if defined(Q_OS_UNIX)
    std::fflush(stderr);
    if (savedStderr >= 0) {
        ::dup2(savedStderr, STDERR_FILENO);
        ::close(savedStderr);
        savedStderr = -1;
    }
#endif
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& message : *held) {
        if (isFallbackNoise(message))
            continue;
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    delete held;
    held = nullptr;
}

void describeApplication()
{
    QApplication::setApplicationName(QStringLiteral("Zarquel"));
    QApplication::setApplicationVersion(QStringLiteral(ZARQUEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZARQUEL_APP_ID));
}

} // namespace startup
