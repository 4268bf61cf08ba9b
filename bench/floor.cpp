// The floor for launch time and memory: a bare Qt Widgets window with as many controls as the game's, and no game.
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor"));

    auto* client = new QWidget(&window);
    client->setFixedSize(264, 394);
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, Qt::black);
    client->setPalette(palette);
    window.setCentralWidget(client);

    // A picture as big as the title banner, drawn here: no image file or decoder.
    QPixmap picture(162, 124);
    picture.fill(Qt::darkBlue);
    {
        QPainter painter(&picture);
        painter.setPen(Qt::yellow);
        painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Floor"));
    }
    auto* image = new QLabel(client);
    image->setGeometry(50, 5, 162, 124);
    image->setPixmap(picture);

    const struct {
        const char* text;
        QRect geometry;
    } labels[] = {
        {"Some words for a label:", QRect(16, 133, 145, 17)},
        {"0", QRect(161, 128, 41, 25)},
        {"units", QRect(208, 133, 43, 17)},
    };
    for (const auto& entry : labels) {
        auto* label = new QLabel(QString::fromLatin1(entry.text), client);
        label->setGeometry(entry.geometry);
    }

    auto* spare = new QPushButton(QStringLiteral("Spare"), client);
    spare->setGeometry(280, 184, 81, 33);
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 5; ++column) {
            auto* button = new QPushButton(client);
            button->setGeometry(16 + 48 * column, 152 + 48 * row, 41, 41);
        }
    }

    auto* timer = new QTimer(&window);
    timer->setInterval(1000);

    const auto add = [&window](QMenu* menu, const char* text, int key, auto slot) {
        QAction* action = menu->addAction(QString::fromLatin1(text), &window, slot);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)));
    };
    QMenu* first = window.menuBar()->addMenu(QStringLiteral("&First"));
    add(first, "&One", Qt::Key_1, [] {});
    add(first, "&Two", Qt::Key_2, [] {});
    first->addSeparator();
    add(first, "E&xit", Qt::Key_X, [] { QApplication::exit(0); });
    QMenu* second = window.menuBar()->addMenu(QStringLiteral("&Second"));
    add(second, "&Four", Qt::Key_4, [] {});
    add(second, "F&ive", Qt::Key_5, [] {});

    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.show();
    return app.exec();
}
