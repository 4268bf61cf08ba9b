// The game's message box: text and OK only, opened over the board.
#pragma once

#include <QMessageBox>

class GameMessage final : public QMessageBox {
    Q_OBJECT

public:
    // `over` is the screen area to open over, so what lies outside it stays in view.
    GameMessage(const QString& text, const QString& title, const QRect& over, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QRect over_;
};
