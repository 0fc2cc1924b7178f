#pragma once

#include "platform/Dialogs.h"

class QWidget;

// Real message boxes and the real file-open dialog, over the main window.
class QtDialogs : public Dialogs {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer show(Icon icon, const QString& caption, const QString& text, Buttons buttons) override;
    QString chooseFile(const FileRequest& request) override;
    std::optional<Credentials> askProxyCredentials(const QString& proxy, bool again) override;

private:
    QWidget* parent_ = nullptr;
};
