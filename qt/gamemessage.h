// The game's message box: text and OK only, opened where the session says, deaf to the rest of a double click.
#pragma once

#include "session.h"

#include <QMessageBox>

class GameMessage final : public QMessageBox {
    Q_OBJECT

public:
    // Placed by the window's rule from `client`, the window's client area, on the screens' work areas.
    GameMessage(const QString& text, const QString& title, const zarquel::window::Session& session, QWidget* client,
                QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const zarquel::window::Session& session_;
    QWidget* client_;
};
