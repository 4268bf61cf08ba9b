// The game's one window: the board, the clock display, menus and messages.
#pragma once

#include "boardview.h"
#include "chance.h"
#include "game.h"
#include "input.h"

#include <QMainWindow>

#include <array>

class QLabel;
class QPushButton;
class QTimer;
class SquareButton;

class frmZarquel final : public QMainWindow, public zarquel::BoardView, public zarquel::window::Controls {
    Q_OBJECT

public:
    explicit frmZarquel(QWidget* parent = nullptr);
    ~frmZarquel() override;

    void SwitchColor(long long Square) { game_.SwitchColor(Square); }
    zarquel::Game& game() { return game_; }

    // BoardView over the real widgets.
    zarquel::SquareColor squareColor(zarquel::SquareIndex square) const override;
    void setSquareColor(zarquel::SquareIndex square, zarquel::SquareColor color) override;
    void enableClock() override;
    void disableClock() override;
    void setTimeText(const std::string& text) override;
    void focusSink() override;
    void showMessage(const std::string& text, const std::string& title) override;

    // What the window's input asks of Qt besides the board.
    bool clockRunning() const override;
    void focusSquare(zarquel::SquareIndex square) override;
    void takeKey() override {} // a key the event filter takes goes no further
    void exitGame() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildBoard(QWidget* client);
    void buildMenus();
    void fitTimeText();
    void showBanner();

    zarquel::StandardRandomSource random_;
    zarquel::SystemTimeOfDay timeOfDay_;
    zarquel::Game game_ {*this, random_, timeOfDay_};
    zarquel::window::Input input_ {game_, *this, *this, zarquel::window::Host::Desktop};

    QPushButton* cmdTakeFocus = nullptr;
    QLabel* lblWasted = nullptr;
    QLabel* lblSeconds = nullptr;
    QLabel* lblTime = nullptr;
    QLabel* imgTitle = nullptr;
    std::array<SquareButton*, zarquel::SquareCount> cmdSquare {};
    QTimer* tmrTime = nullptr;
    qreal bannerRatio_ = 0; // the density the banner on show was drawn for
};
