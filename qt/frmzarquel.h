// The game's one window: the board, the clock display, menus and messages.
#pragma once

#include "form.h"

#include <QMainWindow>

#include <array>

class QLabel;
class QPushButton;
class QTimer;
class SquareButton;

class frmZarquel final : public QMainWindow, public zarquel::window::Form {
    Q_OBJECT

public:
    explicit frmZarquel(QWidget* parent = nullptr);
    ~frmZarquel() override;

    void setTimeText(const std::string& text) override;
    void focusSink() override;

protected:
    // The window's calls on Qt.
    void paintSquare(zarquel::SquareIndex square, zarquel::SquareColor color) override;
    void runTimer(bool on) override;
    void focusSquare(zarquel::SquareIndex square) override;
    void exitGame() override;
    void openBox(const std::string& text, const std::string& title) override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildBoard(QWidget* client);
    void buildMenus();
    void fitTimeText();
    void showBanner();

    QPushButton* cmdTakeFocus = nullptr;
    QLabel* lblWasted = nullptr;
    QLabel* lblSeconds = nullptr;
    QLabel* lblTime = nullptr;
    QLabel* imgTitle = nullptr;
    std::array<SquareButton*, zarquel::SquareCount> cmdSquare {};
    QTimer* tmrTime = nullptr;
    qreal bannerRatio_ = 0; // the density the banner on show was drawn for
};
