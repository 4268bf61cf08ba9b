// The game's message box: text and OK only, opened over the board.
#pragma once

#include "messagebox.h"

#include <QMessageBox>

class GameMessage final : public QMessageBox {
    Q_OBJECT

public:
    // `board` is where on the screen to open, below `labelsBottom`, so the title and the time stay in view.
    GameMessage(const QString& text, const QString& title, const QRect& board, int labelsBottom, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect board_;
    int labelsBottom_;
    zarquel::window::PressGuard guard_;
};
