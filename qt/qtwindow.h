// The game's one window in Qt: the controls from the window's table, and Qt's events handed to the session.
#pragma once

#include "session.h"

#include <QMainWindow>

#include <array>

class QLabel;
class QPushButton;
class QTimer;
class SquareButton;

class QtWindow final : public QMainWindow {
    Q_OBJECT

public:
    explicit QtWindow(QWidget* parent = nullptr);
    ~QtWindow() override;

    zarquel::window::Session& session() { return session_; }
    // Shows what the session answered: squares, time, clock, focus, then a box, which waits for OK.
    void apply(const zarquel::window::Reply& reply);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls(QWidget* client);
    void buildMenus();
    void showBanner();
    void openBox(const zarquel::window::Box& box);
    zarquel::window::Focus focusOf(const QObject* widget) const;

    zarquel::window::Session session_;
    QPushButton* sink_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* banner_ = nullptr;
    std::array<SquareButton*, zarquel::SquareCount> squares_ {};
    QTimer* timer_ = nullptr;
    qreal bannerRatio_ = 0; // the density the banner on show was drawn for
};
