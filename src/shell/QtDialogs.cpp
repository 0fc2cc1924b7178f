#include "shell/QtDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

Dialogs::Answer QtDialogs::show(Icon icon, const QString& caption, const QString& text, Buttons buttons)
{
    QMessageBox box(parent_);
    box.setWindowTitle(caption);
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString QtDialogs::chooseFile(const FileRequest& request)
{
    QFileDialog dialog(parent_, request.title, request.initialFolder, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.fileName);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString izabrano = dialog.selectedFiles().constFirst();
        // The file may be any name, but its folder must exist: the caller keeps only the folder.
        const QDir mapa = QFileInfo(izabrano).absoluteDir();
        if (mapa.exists())
            return izabrano;
        QMessageBox::warning(parent_, request.title,
                             QStringLiteral("Putanja ") + QDir::toNativeSeparators(mapa.path()) +
                                 QStringLiteral(" ne postoji.\nProvjerite je li putanja ispravno upisana."));
    }
    return QString();
}
